import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import QuenmarkDemo

// The demo's window: a tool bar with the settings, and the home screen. The home screen is made again
// whenever the settings change the SDK session, as a host's screens would be after a sign-in.
ApplicationWindow {
    id: root

    required property HostSession session

    width: 400
    height: 820
    visible: true
    title: qsTr("Basilwick")
    Material.theme: Material.Dark
    Material.accent: "#FF8800"
    Material.primary: "#1E1E1E"
    Material.background: "#121212"
    // The SDK's views take their plain text colours from the host's palette.
    palette.windowText: "#FFFFFF"
    palette.highlight: "#FF8800"

    header: ToolBar {
        RowLayout {
            anchors.fill: parent
            anchors.leftMargin: 16

            Label {
                text: qsTr("Basilwick")
                font.pixelSize: 20
                font.bold: true
            }

            Label {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignRight
                text: (root.session.userId === "" ? qsTr("signed out") : root.session.userId) + " · "
                      + root.session.locale + (root.session.previewMode ? qsTr(" · preview") : "")
                opacity: 0.6
                elide: Text.ElideLeft
            }

            ToolButton {
                text: qsTr("Settings")
                onClicked: settings.open()
            }
        }
    }

    Loader {
        id: home

        anchors.fill: parent
        sourceComponent: HomeScreen {
            events: root.session.events
        }
    }

    Connections {
        target: root.session

        function onSettingsChanged() {
            home.active = false
            home.active = true
        }
    }

    SettingsSheet {
        id: settings

        session: root.session
    }
}
