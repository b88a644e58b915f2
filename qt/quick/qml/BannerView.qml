pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories
import "internal" as Internal

// The banners of `placementKey`, one rounded card at a time: the item's picture with the banner's dots
// (carousels) or segments (story banners) over it. It spans its parent's width (in a layout, give it
// Layout.fillWidth) and is exactly as high as the card, or empty and 0 high while there is nothing to
// show. While visible in a window it loads (again each time it comes back), plays the items by itself,
// follows swipes, and reports taps and opens their links; returning to the foreground reloads.
FocusScope {
    id: root

    property string placementKey

    // A load failed; the slot stays empty until a later load delivers banners.
    signal loadFailed(string message)

    width: root.parent ? root.parent.width : 0
    implicitHeight: carousel.cardHeight
    height: implicitHeight

    BannerCarouselModel {
        id: carousel

        objectName: "carousel"
        placementKey: root.placementKey
        shown: root.visible && root.Window.visibility !== Window.Hidden
        availableWidth: root.width
        onLoadFailed: (message) => root.loadFailed(message)
    }

    Item {
        id: card

        objectName: "card"
        anchors.fill: parent
        visible: carousel.present
        focus: true
        activeFocusOnTab: true
        Accessible.role: Accessible.Button
        Accessible.name: carousel.accessibleName
        Accessible.focusable: true
        Accessible.onPressAction: carousel.tap()
        Keys.onLeftPressed: carousel.previous()
        Keys.onRightPressed: carousel.next()
        Keys.onReturnPressed: carousel.tap()
        Keys.onEnterPressed: carousel.tap()

        BannerCardPicture {
            anchors.fill: parent
            carousel: carousel
        }

        Internal.BannerDots {
            objectName: "dots"
            x: carousel.indicatorX
            y: carousel.indicatorY
            width: carousel.indicatorWidth
            height: carousel.indicatorHeight
            visible: carousel.indicator === BannerCarouselModel.Dots
            carousel: carousel
        }

        Internal.BannerSegments {
            objectName: "segments"
            x: carousel.indicatorX
            y: carousel.indicatorY
            width: carousel.indicatorWidth
            height: carousel.indicatorHeight
            visible: carousel.indicator === BannerCarouselModel.Segments
            carousel: carousel
        }

        TapHandler {
            onTapped: carousel.tap()
        }

        DragHandler {
            target: null
            dragThreshold: Theme.banner.minimumDragDistance
            onActiveChanged: if (!active) carousel.endDrag(translation.x, translation.y)
        }
    }
}
