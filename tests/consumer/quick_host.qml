import QtQuick
import QtQuick.Window
import Quenmark.Stories

// The host's window: one remote picture on a black background, gray until the picture arrives.
Window {
    id: window

    required property url pictureUrl
    property bool failed: false

    width: 64
    height: 64
    visible: true
    color: "black"

    StoryRemoteImage {
        anchors.fill: parent
        url: window.pictureUrl
        placeholder: Rectangle { color: "gray" }
        onFailed: window.failed = true
    }
}
