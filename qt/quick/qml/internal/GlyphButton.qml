pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Quenmark.Stories

// A round button showing a glyph on a translucent disc: the viewer's close and mute buttons.
T.AbstractButton {
    id: root

    required property string glyph

    padding: Theme.viewer.closeButtonPadding
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    // Taps leave the keyboard focus with the viewer. Qt 6.4's type information has no Qt::FocusPolicy.
    focusPolicy: Qt.NoFocus // qmllint disable
    Accessible.role: Accessible.Button
    Accessible.name: root.text
    Accessible.onPressAction: root.clicked()

    contentItem: Glyph {
        name: root.glyph
        size: Theme.viewer.closeGlyphSize
        color: Theme.viewer.text
    }
    background: Rectangle {
        radius: width / 2
        color: Theme.viewer.closeButtonBackground
    }
}
