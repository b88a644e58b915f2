pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Shapes
import "glyphs.js" as Glyphs

// A small vector glyph drawn on a 24 x 24 grid and scaled to `size`. Decoration only: the control that
// shows it carries the accessible name.
Item {
    id: root

    // One of the names in glyphs.js.
    required property string name
    property real size: 24
    property color color: "white"
    // The mark cut into a disc glyph (check, cross, arrow); transparent leaves a plain disc.
    property color knockoutColor: "transparent"

    readonly property var glyph: Glyphs.shapes[root.name] ?? ({})

    implicitWidth: size
    implicitHeight: size
    Accessible.ignored: true

    Shape {
        width: 24
        height: 24
        antialiasing: true
        transform: Scale { xScale: root.width / 24; yScale: root.height / 24 }

        ShapePath {
            fillColor: root.color
            fillRule: ShapePath.OddEvenFill
            strokeColor: "transparent"
            PathSvg { path: root.glyph.disc ? "M12 1.5a10.5 10.5 0 1 0 0.01 0z" : (root.glyph.fill ?? "") }
        }
        ShapePath {
            fillColor: "transparent"
            strokeColor: root.glyph.disc ? root.knockoutColor : root.color
            strokeWidth: root.glyph.width ?? 0
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.RoundJoin
            PathSvg { path: root.glyph.stroke ?? "" }
        }
    }
}
