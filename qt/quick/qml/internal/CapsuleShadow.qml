pragma ComponentBehavior: Bound
import QtQuick

// A soft shadow under the capsule this item covers: rings one pixel apart around it, shifted by the
// offset, each adding a share of the shadow's colour (the software renderer has no blur).
Item {
    id: root

    required property int rings
    required property color ringColor
    required property real offsetX
    required property real offsetY

    Accessible.ignored: true

    Repeater {
        model: root.rings

        Rectangle {
            required property int index

            x: root.offsetX - index - 1
            y: root.offsetY - index - 1
            width: root.width + 2 * (index + 1)
            height: root.height + 2 * (index + 1)
            radius: height / 2
            color: root.ringColor
        }
    }
}
