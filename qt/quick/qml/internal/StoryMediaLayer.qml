pragma ComponentBehavior: Bound
import QtQuick
import QtMultimedia
import Quenmark.Stories

// The current item's media, full size on black: the picture whole and letter-boxed, the video, or the
// theme's placeholder with a photo glyph (no item, no media, a picture loading or failed).
Item {
    id: root

    required property StoryViewerModel viewer

    // The picture, or in its place the placeholder (no item, no media, a picture loading or failed).
    StoryPicture {
        objectName: "picture"
        anchors.fill: parent
        visible: root.viewer.mediaLayer !== StoryViewerModel.Video
        url: root.viewer.mediaLayer === StoryViewerModel.Picture ? root.viewer.mediaUrl : ""
        placeholderColor: root.viewer.placeholderColor
    }

    // Leaving the video (for another layer) stops it.
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
