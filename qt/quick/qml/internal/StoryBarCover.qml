pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// What the story bar presents over the whole window while its viewer is asked for: the viewer on the
// bar's groups from the selected one, or, without a selection, a black cover that a tap or Escape
// dismisses. Dismissal writes `viewerPresented` false once, after the signal that asked for it has
// returned (the viewer is destroyed then).
Item {
    id: root

    required property StoryBarModel bar

    function dismiss() {
        root.bar.viewerPresented = false
    }

    anchors.fill: parent
    z: Theme.bar.coverZ
    visible: root.bar.presentation !== StoryBarModel.NotPresented

    Repeater {
        model: root.bar.presentation === StoryBarModel.Viewer ? 1 : 0

        StoryViewerView {
            objectName: "viewer"
            width: root.width
            height: root.height
            groups: root.bar.groups
            startIndex: root.bar.selectedIndex
            placementKey: root.bar.placementKey
            onDismissed: Qt.callLater(root.dismiss)
        }
    }

    Repeater {
        model: root.bar.presentation === StoryBarModel.EmptyCover ? 1 : 0

        Rectangle {
            objectName: "emptyCover"
            width: root.width
            height: root.height
            color: Theme.bar.emptyCoverColor
            focus: true
            Component.onCompleted: forceActiveFocus()
            Keys.onEscapePressed: Qt.callLater(root.dismiss)

            TapHandler {
                onTapped: Qt.callLater(root.dismiss)
            }
        }
    }
}
