pragma ComponentBehavior: Bound
import Quenmark.Stories

// A small vector glyph drawn on a 24 x 24 grid and scaled to `size`, in one item. Decoration only: the
// control that shows it carries the accessible name.
GlyphItem {
    id: root

    // One of GlyphItem's names.
    required name
    property real size: 24

    implicitWidth: root.size
    implicitHeight: root.size
}
