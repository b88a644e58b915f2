pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// Stands in for missing or loading media: the group's secondary colour, faint, with a photo glyph.
Rectangle {
    objectName: "placeholder"

    Glyph {
        anchors.centerIn: parent
        name: "photo"
        size: Theme.viewer.photoGlyphSize
        color: Theme.viewer.photoGlyphColor
    }
}
