pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// The item's call-to-action: a full-width capsule with its title, coloured by the group's theme. Taps
// leave the keyboard focus with the viewer.
Rectangle {
    id: root

    required property StoryViewerModel viewer

    implicitHeight: label.implicitHeight + 2 * Theme.viewer.callToActionVerticalPadding
    radius: root.height / 2
    color: root.viewer.callToActionBackground
    border.color: root.viewer.callToActionBorderColor
    border.width: root.viewer.callToActionBorderWidth
    Accessible.role: Accessible.Button
    Accessible.name: label.text
    Accessible.onPressAction: root.viewer.openCallToAction()

    Text {
        id: label

        objectName: "callToActionLabel"
        anchors.fill: parent
        text: root.viewer.callToActionTitle
        font: root.viewer.callToActionFont
        color: root.viewer.callToActionTextColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.viewer.openCallToAction()
    }
}
