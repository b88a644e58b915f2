pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// The progress of the current group: a row of segments, one track, or nothing, as the group's theme
// says. Fills glide between the model's ticks at the display's rate. Read as one progress bar.
ProgressCapsules {
    id: root

    required property StoryViewerModel viewer

    implicitHeight: root.fills.length > 0 ? Theme.viewer.progressHeight : 0
    fills: root.viewer.progressFills
    spacing: Theme.viewer.progressSpacing
    trackColor: root.viewer.progressTrackColor
    fillColor: root.viewer.progressFillColor
    glideMilliseconds: Theme.viewer.progressTickMilliseconds
    Accessible.role: Accessible.ProgressBar
    Accessible.name: root.viewer.accessibleName
}
