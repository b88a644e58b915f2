pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QuenmarkDemo

// The host events, newest first, as the SDK hands them to the app's event handler.
Pane {
    id: root

    required property EventLogModel events

    padding: 0

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 8

            Label {
                Layout.fillWidth: true
                text: qsTr("Host events (%1)").arg(root.events.count)
                font.bold: true
            }

            ToolButton {
                text: qsTr("Clear")
                enabled: root.events.count > 0
                onClicked: root.events.clear()
            }
        }

        ListView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: root.events

            delegate: ItemDelegate {
                id: row

                required property string name
                required property string detail
                required property string time

                width: ListView.view.width
                topPadding: 6
                bottomPadding: 6
                contentItem: ColumnLayout {
                    spacing: 2

                    RowLayout {
                        Label {
                            Layout.fillWidth: true
                            text: row.name
                        }

                        Label {
                            text: row.time
                            opacity: 0.5
                            font.pixelSize: 12
                        }
                    }

                    Label {
                        Layout.fillWidth: true
                        text: row.detail
                        opacity: 0.6
                        font.pixelSize: 12
                        elide: Text.ElideRight
                    }
                }
            }

            Label {
                anchors.centerIn: parent
                visible: root.events.count === 0
                text: qsTr("Nothing reported yet")
                opacity: 0.5
            }
        }
    }
}
