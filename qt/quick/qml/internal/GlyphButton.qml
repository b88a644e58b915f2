pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// A round button showing a glyph on a translucent disc: the viewer's close and mute buttons. Taps leave
// the keyboard focus with the viewer.
Rectangle {
    id: root

    required property string glyph
    // The accessible name.
    property string text

    signal clicked()

    implicitWidth: Theme.viewer.closeGlyphSize + 2 * Theme.viewer.closeButtonPadding
    implicitHeight: root.implicitWidth
    radius: root.width / 2
    color: Theme.viewer.closeButtonBackground
    Accessible.role: Accessible.Button
    Accessible.name: root.text
    Accessible.onPressAction: root.clicked()

    Glyph {
        anchors.centerIn: parent
        name: root.glyph
        size: Theme.viewer.closeGlyphSize
        color: Theme.viewer.text
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.clicked()
    }
}
