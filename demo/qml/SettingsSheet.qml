pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QuenmarkDemo

// The host's settings: who is signed in, the language, and the preview switch of the SDK. Applying
// hands them to the session, which updates or reconfigures the SDK.
Dialog {
    id: root

    required property HostSession session

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: parent.width - 32
    modal: true
    title: qsTr("Settings")
    standardButtons: Dialog.Apply | Dialog.Cancel
    background: Rectangle {
        color: "#1E1E1E"
        radius: 8
    }

    onAboutToShow: {
        userField.text = root.session.userId
        localeBox.currentIndex = root.session.locales.indexOf(root.session.locale)
        previewSwitch.checked = root.session.previewMode
    }
    onApplied: {
        root.session.apply(userField.text, localeBox.currentText, previewSwitch.checked)
        root.close()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 12

        Label { text: qsTr("User id (empty: signed out)") }

        TextField {
            id: userField

            objectName: "userField"
            Layout.fillWidth: true
            placeholderText: qsTr("anonymous")
        }

        Label { text: qsTr("Locale") }

        ComboBox {
            id: localeBox

            objectName: "localeBox"
            Layout.fillWidth: true
            model: root.session.locales
        }

        Switch {
            id: previewSwitch

            text: qsTr("Preview mode (votes stay on this device)")
        }

        Label {
            Layout.fillWidth: true
            text: qsTr("Content service: %1").arg(root.session.serviceOrigin)
            opacity: 0.6
            font.pixelSize: 12
            wrapMode: Text.WrapAnywhere
        }
    }
}
