// Not `pragma ComponentBehavior: Bound`: StoryRemoteImage makes the placeholder in a context of its own.
import QtQuick
import Quenmark.Stories

// The item's picture, whole and letter-boxed, with the placeholder while it loads or after it failed.
StoryRemoteImage {
    id: root

    property color placeholderColor

    contentMode: StoryRemoteImage.Fit
    placeholder: Component {
        StoryPlaceholder {
            color: root.placeholderColor // qmllint disable unqualified
        }
    }
}
