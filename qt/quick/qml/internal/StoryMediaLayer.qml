pragma ComponentBehavior: Bound
import QtQuick
import QtMultimedia
import Quenmark.Stories

// The current item's media, full size on black: the picture whole and letter-boxed, the video, or the
// theme's placeholder with a photo glyph (no item, no media, a picture loading or failed).
Item {
    id: root

    required property StoryViewerModel viewer

    StoryPlaceholder {
        anchors.fill: parent
        visible: root.viewer.mediaLayer === StoryViewerModel.Placeholder
        color: root.viewer.placeholderColor
    }

    StoryPicture {
        objectName: "picture"
        anchors.fill: parent
        visible: root.viewer.mediaLayer === StoryViewerModel.Picture
        url: visible ? root.viewer.mediaUrl : ""
        placeholderColor: root.viewer.placeholderColor
    }

    // Made for a video item and dropped after it: leaving the video stops it.
    Repeater {
        model: root.viewer.mediaLayer === StoryViewerModel.Video ? 1 : 0

        Item {
            objectName: "video"
            width: root.width
            height: root.height

            VideoOutput {
                id: output

                anchors.fill: parent
                // A video that cannot play leaves the black background.
                visible: !player.failed
            }

            StoryVideoPlayer {
                id: player

                objectName: "videoPlayer"
                videoOutput: output
                source: root.viewer.mediaUrl
                active: root.viewer.videoActive
                muted: root.viewer.muted
            }
        }
    }
}
