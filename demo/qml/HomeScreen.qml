pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quenmark.Stories
import QuenmarkDemo

// The home screen of the sample app: the story bar and the banners of placement "home" exactly as
// the integration guide places them, then the host events as the SDK reports them.
Item {
    id: root

    required property EventLogModel events

    ColumnLayout {
        anchors.fill: parent
        spacing: 12

        StoryBarView {
            objectName: "storyBar"
            Layout.fillWidth: true
            placementKey: "home"
        }

        BannerView {
            objectName: "homeBanners"
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 16
            placementKey: "home"
        }

        EventsPanel {
            Layout.fillWidth: true
            Layout.fillHeight: true
            events: root.events
        }
    }
}
