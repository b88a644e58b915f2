pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// The carousel's position: a row of dots on a dark capsule, the current item's dot wider and brighter.
Item {
    id: root

    required property BannerCarouselModel carousel

    Accessible.ignored: true

    CapsuleShadow {
        anchors.fill: parent
        rings: Theme.banner.dotsShadowRings
        ringColor: Theme.banner.dotsShadowRing
        offsetX: Theme.banner.dotsShadowOffsetX
        offsetY: Theme.banner.dotsShadowOffsetY
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.banner.dotsBackground
    }

    Repeater {
        model: root.carousel.dots.length

        Rectangle {
            required property int index
            readonly property var dot: root.carousel.dots[index]

            x: dot?.x ?? 0
            y: dot?.y ?? 0
            width: dot?.width ?? 0
            height: dot?.height ?? 0
            radius: height / 2
            color: dot?.color ?? "transparent"
        }
    }
}
