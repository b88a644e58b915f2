pragma ComponentBehavior: Bound
import QtQuick
import QtMultimedia
import Quenmark.Stories

// The current item's media, full size on black: the picture whole and letter-boxed, the video, or the
// theme's placeholder with a photo glyph (no item, no media, a picture loading or failed).
Item {
    id: root

    required property StoryViewerModel viewer

    // Each layer is made only for the items that show it.
    Repeater {
        model: root.viewer.mediaLayer === StoryViewerModel.Placeholder ? 1 : 0

        StoryPlaceholder {
            width: root.width
            height: root.height
            color: root.viewer.placeholderColor
        }
    }

    Repeater {
        model: root.viewer.mediaLayer === StoryViewerModel.Picture ? 1 : 0

        StoryPicture {
            objectName: "picture"
            width: root.width
            height: root.height
            url: root.viewer.mediaUrl
            placeholderColor: root.viewer.placeholderColor
        }
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
