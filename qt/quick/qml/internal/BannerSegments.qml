pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// The story banner's progress: one segment per item, full before the current one, filling with it,
// empty after it. Every step shows at once, without animation.
Item {
    id: root

    required property BannerCarouselModel carousel

    Accessible.ignored: true

    Repeater {
        model: root.carousel.segments.length

        Item {
            id: segment

            required property int index
            readonly property var values: root.carousel.segments[index]

            x: segment.values?.x ?? 0
            width: segment.values?.width ?? 0
            height: root.height

            CapsuleShadow {
                anchors.fill: parent
                rings: Theme.banner.segmentsShadowRings
                ringColor: Theme.banner.segmentsShadowRing
                offsetX: Theme.banner.segmentsShadowOffsetX
                offsetY: Theme.banner.segmentsShadowOffsetY
            }

            Rectangle {
                anchors.fill: parent
                radius: height / 2
                color: Theme.banner.segmentTrack
            }

            Rectangle {
                width: segment.values?.fillWidth ?? 0
                height: parent.height
                radius: height / 2
                visible: width > 0
                color: Theme.banner.segmentFill
            }
        }
    }
}
