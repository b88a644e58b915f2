pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Quenmark.Stories

// The item's call-to-action: a full-width capsule with its title, coloured by the group's theme.
T.AbstractButton {
    id: root

    required property StoryViewerModel viewer

    text: root.viewer.callToActionTitle
    topPadding: Theme.viewer.callToActionVerticalPadding
    bottomPadding: Theme.viewer.callToActionVerticalPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    // Taps leave the keyboard focus with the viewer. Qt 6.4's type information has no Qt::FocusPolicy.
    focusPolicy: Qt.NoFocus // qmllint disable
    Accessible.role: Accessible.Button
    Accessible.name: root.text
    Accessible.onPressAction: root.clicked()
    onClicked: root.viewer.openCallToAction()

    contentItem: Text {
        text: root.text
        font: root.viewer.callToActionFont
        color: root.viewer.callToActionTextColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    background: Rectangle {
        objectName: "callToActionBackground"
        radius: height / 2
        color: root.viewer.callToActionBackground
        border.color: root.viewer.callToActionBorderColor
        border.width: root.viewer.callToActionBorderWidth
    }
}
