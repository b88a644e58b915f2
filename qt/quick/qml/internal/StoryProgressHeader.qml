pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// The progress of the current group: a row of segments, one track, or nothing, as the group's theme
// says. Fills glide between the model's ticks at the display's rate. Read as one progress bar.
Item {
    id: root

    required property StoryViewerModel viewer
    readonly property int segmentCount: root.viewer.segmentFills.length

    implicitHeight: root.viewer.progressLayout === StoryViewerModel.NoProgress ? 0 : Theme.viewer.progressHeight
    Accessible.role: Accessible.ProgressBar
    Accessible.name: root.viewer.accessibleName

    component Segment: Rectangle {
        id: segment

        required property real fill

        height: Theme.viewer.progressHeight
        radius: height / 2
        color: root.viewer.progressTrackColor
        Accessible.ignored: true

        Rectangle {
            height: parent.height
            width: parent.width * segment.fill
            radius: height / 2
            visible: segment.fill > 0
            color: root.viewer.progressFillColor

            Behavior on width {
                NumberAnimation { duration: Theme.viewer.progressTickMilliseconds }
            }
        }
    }

    Row {
        objectName: "segments"
        anchors.fill: parent
        spacing: Theme.viewer.progressSpacing
        visible: root.viewer.progressLayout === StoryViewerModel.Segments

        Repeater {
            model: root.segmentCount

            Segment {
                required property int index

                width: (root.width - Theme.viewer.progressSpacing * (root.segmentCount - 1)) / root.segmentCount
                fill: root.viewer.segmentFills[index] ?? 0
            }
        }
    }

    Segment {
        objectName: "track"
        width: root.width
        visible: root.viewer.progressLayout === StoryViewerModel.Track
        fill: root.viewer.trackFill
    }
}
