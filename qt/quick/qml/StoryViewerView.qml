pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories
import "internal" as Internal

// The full-screen story player. It plays `groups` from `startIndex` (or, given none, the groups of
// `placementKey`, loaded when it opens), shows each item with its progress, texts, call-to-action and
// widget, and turns taps, long presses, drags and keys into the player's steps. It plays while it is
// visible and emits `dismissed` once when it must close; its presenter then hides or unloads it (from a
// `Qt.callLater`, never inside the signal).
FocusScope {
    id: root

    // The groups to play, handed over from C++ (quenmark::qt::StoryGroupList). Read when the viewer is
    // made; later changes are ignored.
    property storyGroupList groups
    property int startIndex: 0
    property string placementKey

    signal dismissed()

    // The host's control. pause() holds playback (video too) until resume(). From C++:
    // QMetaObject::invokeMethod(viewer, "next").
    function pause() { model.pause() }
    function resume() { model.resume() }
    function next() { model.next() }
    function previous() { model.previous() }
    function close() { model.close() }

    focus: true
    Component.onCompleted: root.forceActiveFocus()
    Keys.onLeftPressed: model.previous()
    Keys.onRightPressed: model.next()
    Keys.onSpacePressed: model.togglePause()
    Keys.onEscapePressed: model.close()
    Keys.onUpPressed: model.swipeUp()

    StoryViewerModel {
        id: model

        objectName: "viewerModel"
        groups: root.groups
        startIndex: root.startIndex
        placementKey: root.placementKey
        shown: root.visible
        onDismissed: root.dismissed()
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.viewer.background
    }

    Internal.StoryMediaLayer {
        anchors.fill: parent
        viewer: model
    }

    // Back on the left 35 %, forward on the right 35 %; a long press there holds playback.
    Item {
        id: tapZones

        anchors.fill: parent

        TapHandler {
            objectName: "tapHandler"
            longPressThreshold: Theme.viewer.longPressSeconds
            dragThreshold: Theme.viewer.longPressMaximumMovement
            onTapped: (eventPoint) => model.tap(eventPoint.position.x, tapZones.width)
            // Qt 6.4's type information has no QPointF.
            onLongPressed: model.beginHold(point.pressPosition.x, tapZones.width, // qmllint disable
                                           point.position.x - point.pressPosition.x, // qmllint disable
                                           point.position.y - point.pressPosition.y) // qmllint disable
            onPressedChanged: if (!pressed) model.endHold()
        }
    }

    Item {
        id: content

        anchors.fill: parent
        anchors.leftMargin: Theme.viewer.contentHorizontalPadding
        anchors.rightMargin: Theme.viewer.contentHorizontalPadding
        anchors.topMargin: Theme.viewer.contentTopPadding
        anchors.bottomMargin: Theme.viewer.contentBottomPadding

        Column {
            width: parent.width
            spacing: Theme.viewer.headerSpacing

            Internal.StoryProgressHeader {
                objectName: "progressHeader"
                width: parent.width
                viewer: model
            }

            Item {
                width: parent.width
                height: close.implicitHeight

                Text {
                    anchors.left: parent.left
                    anchors.right: mute.visible ? mute.left : close.left
                    anchors.verticalCenter: parent.verticalCenter
                    text: model.groupTitle
                    font: model.groupTitleFont
                    color: Theme.viewer.text
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }

                Internal.GlyphButton {
                    id: mute

                    objectName: "mute"
                    anchors.right: close.left
                    anchors.rightMargin: Theme.viewer.headerSpacing
                    visible: model.mediaLayer === StoryViewerModel.Video
                    glyph: model.muted ? "speakerMuted" : "speaker"
                    text: model.muted ? qsTr("Sound on") : qsTr("Mute")
                    onClicked: model.muted = !model.muted
                }

                Internal.GlyphButton {
                    id: close

                    objectName: "close"
                    anchors.right: parent.right
                    glyph: "close"
                    text: qsTr("Close")
                    onClicked: model.close()
                }
            }
        }

        Column {
            objectName: "textBlock"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: callToAction.visible ? callToAction.top : parent.bottom
            leftPadding: Theme.viewer.textBlockHorizontalPadding
            rightPadding: Theme.viewer.textBlockHorizontalPadding
            bottomPadding: Theme.viewer.textBlockBottomPadding
            spacing: Theme.viewer.textBlockSpacing
            visible: model.hasTextBlock

            Text {
                width: parent.width - parent.leftPadding - parent.rightPadding
                visible: text !== ""
                text: model.itemTitle
                font: model.itemTitleFont
                color: Theme.viewer.text
                wrapMode: Text.Wrap
            }

            Text {
                width: parent.width - parent.leftPadding - parent.rightPadding
                visible: text !== ""
                text: model.itemBody
                font: model.bodyFont
                color: Theme.viewer.bodyColor
                wrapMode: Text.Wrap
                lineHeightMode: Text.FixedHeight
                lineHeight: bodyMetrics.lineSpacing + Theme.viewer.bodyLineSpacing

                FontMetrics {
                    id: bodyMetrics

                    font: model.bodyFont
                }
            }
        }

        Internal.CallToActionButton {
            id: callToAction

            objectName: "callToAction"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            visible: model.hasCallToAction
            viewer: model
        }
    }

    Internal.WidgetCard {
        objectName: "widgetCard"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: Theme.widget.cardHorizontalInset
        anchors.rightMargin: Theme.widget.cardHorizontalInset
        anchors.bottomMargin: Theme.widget.cardBottomInset
        height: implicitHeight
        visible: model.card.present
        viewer: model
    }

    Internal.SwipeWidget {
        objectName: "swipeWidget"
        anchors.fill: parent
        visible: model.hasSwipeUp
        viewer: model
    }

    Internal.Glyph {
        objectName: "pauseGlyph"
        anchors.centerIn: parent
        name: "pause"
        size: Theme.viewer.pauseGlyphSize
        color: Theme.viewer.pauseGlyphColor
        opacity: model.held ? 1 : 0
        visible: opacity > 0

        Behavior on opacity {
            NumberAnimation {
                duration: Theme.viewer.pauseFadeMilliseconds
                // Qt 6.4's type information has no QEasingCurve.
                easing.type: Easing.InOutQuad // qmllint disable
            }
        }
    }

    // Closes on a drag down, swipes up on a swipe-up item; recognised over buttons and widgets too.
    DragHandler {
        target: null
        dragThreshold: Theme.viewer.minimumDragDistance
        onActiveChanged: if (!active) model.endDrag(translation.x, translation.y,
                                                   centroid.velocity.x, centroid.velocity.y)
    }
}
