pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories
import "internal" as Internal

// The row of story bubbles of a placement: `StoryBarView { placementKey: "home" }`. It loads the
// placement's groups once, when it is made, and takes no space until they arrive (nor after a failed
// load, nor for a placement without groups). A bubble opens the story viewer over the whole window on
// its group; the viewer's dismissal closes it.
FocusScope {
    id: root

    // Read when the bar is made (or when the first non-blank key arrives); later changes are ignored.
    property string placementKey

    // The placement's stories could not be loaded; the bar stays empty.
    signal loadFailed(string message)

    implicitWidth: bar.count > 0 ? row.implicitWidth : 0
    implicitHeight: bar.barHeight

    StoryBarModel {
        id: bar

        objectName: "barModel"
        placementKey: root.placementKey
        shown: root.visible
        onLoadFailed: (message) => root.loadFailed(message)
        // Back from the viewer, the bubble that opened it has the focus.
        onViewerPresentedChanged: if (!viewerPresented) bubbles.itemAt(selectedIndex)?.forceActiveFocus()
    }

    // Scrolls the bubble with the keyboard focus into sight.
    function reveal(bubble: Item) {
        const padding = Theme.bar.rowHorizontalPadding
        if (bubble.x - padding < flickable.contentX)
            flickable.contentX = Math.max(0, bubble.x - padding)
        else if (bubble.x + bubble.width + padding > flickable.contentX + flickable.width)
            flickable.contentX = bubble.x + bubble.width + padding - flickable.width
    }

    Flickable {
        id: flickable

        anchors.fill: parent
        contentWidth: row.width
        contentHeight: height
        flickableDirection: Flickable.HorizontalFlick
        clip: true

        // Built whole: every bubble exists as soon as the row does, in sight or not.
        Row {
            id: row

            objectName: "row"
            leftPadding: Theme.bar.rowHorizontalPadding
            rightPadding: Theme.bar.rowHorizontalPadding
            topPadding: Theme.bar.rowVerticalPadding
            bottomPadding: Theme.bar.rowVerticalPadding
            spacing: Theme.bar.bubbleSpacing

            Repeater {
                id: bubbles

                model: bar

                Internal.StoryBubble {
                    id: bubble

                    objectName: "bubble-" + bubble.index
                    onClicked: bar.select(bubble.index)
                    onActiveFocusChanged: if (activeFocus) root.reveal(bubble)
                }
            }
        }
    }

    // While the viewer is asked for it covers the whole window, over the host's content.
    Internal.StoryBarCover {
        parent: root.Window.contentItem
        bar: bar
    }
}
