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
    function pause() { viewerModel.pause() }
    function resume() { viewerModel.resume() }
    function next() { viewerModel.next() }
    function previous() { viewerModel.previous() }
    function close() { viewerModel.close() }

    focus: true
    Component.onCompleted: root.forceActiveFocus()
    Keys.onLeftPressed: viewerModel.previous()
    Keys.onRightPressed: viewerModel.next()
    Keys.onSpacePressed: viewerModel.togglePause()
    Keys.onEscapePressed: viewerModel.close()
    Keys.onUpPressed: viewerModel.swipeUp()

    Rectangle {
        anchors.fill: parent
        color: Theme.viewer.background
    }

    Internal.StoryMediaLayer {
        anchors.fill: parent
        viewer: viewerModel
    }

    // Back on the left 35 %, forward on the right 35 %; a long press there holds playback. Below the
    // buttons and widgets, which take their own taps.
    TapHandler {
        objectName: "tapHandler"
        longPressThreshold: Theme.viewer.longPressSeconds
        dragThreshold: Theme.viewer.longPressMaximumMovement
        onTapped: (eventPoint) => viewerModel.tap(eventPoint.position.x, root.width)
        // Qt 6.4's type information has no QPointF.
        onLongPressed: viewerModel.beginHold(point.pressPosition.x, root.width, // qmllint disable
                                       point.position.x - point.pressPosition.x, // qmllint disable
                                       point.position.y - point.pressPosition.y) // qmllint disable
        onPressedChanged: if (!pressed) viewerModel.endHold()
    }

    // Placed by bindings rather than anchors: anchors apply only when the item completes, after its
    // texts have been laid out once at no width.
    Item {
        id: content

        x: Theme.viewer.contentHorizontalPadding
        y: Theme.viewer.contentTopPadding
        width: root.width - 2 * Theme.viewer.contentHorizontalPadding
        height: root.height - Theme.viewer.contentTopPadding - Theme.viewer.contentBottomPadding

        Column {
            width: parent.width
            spacing: Theme.viewer.headerSpacing

            Internal.StoryProgressHeader {
                objectName: "progressHeader"
                width: parent.width
                viewer: viewerModel
            }

            Item {
                width: parent.width
                height: buttons.height

                Text {
                    anchors.left: parent.left
                    anchors.right: buttons.left
                    anchors.verticalCenter: parent.verticalCenter
                    text: viewerModel.groupTitle
                    font: viewerModel.groupTitleFont
                    color: Theme.viewer.text
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }

                Row {
                    id: buttons

                    anchors.right: parent.right
                    spacing: Theme.viewer.headerSpacing

                    // Sound on or off, for video items.
                    Repeater {
                        model: viewerModel.mediaLayer === StoryViewerModel.Video ? 1 : 0

                        Internal.GlyphButton {
                            objectName: "mute"
                            glyph: viewerModel.muted ? "speakerMuted" : "speaker"
                            text: viewerModel.muted ? qsTr("Sound on") : qsTr("Mute")
                            onClicked: viewerModel.muted = !viewerModel.muted
                        }
                    }

                    Internal.GlyphButton {
                        objectName: "close"
                        glyph: "close"
                        text: qsTr("Close")
                        onClicked: viewerModel.close()
                    }
                }
            }
        }

        Column {
            objectName: "textBlock"
            width: parent.width
            anchors.bottom: callToAction.visible ? callToAction.top : parent.bottom
            leftPadding: Theme.viewer.textBlockHorizontalPadding
            rightPadding: Theme.viewer.textBlockHorizontalPadding
            bottomPadding: Theme.viewer.textBlockBottomPadding
            spacing: Theme.viewer.textBlockSpacing
            visible: viewerModel.hasTextBlock

            Text {
                width: parent.width - parent.leftPadding - parent.rightPadding
                visible: text !== ""
                text: viewerModel.itemTitle
                font: viewerModel.itemTitleFont
                color: Theme.viewer.text
                wrapMode: Text.Wrap
            }

            Text {
                width: parent.width - parent.leftPadding - parent.rightPadding
                visible: text !== ""
                text: viewerModel.itemBody
                font: viewerModel.bodyFont
                color: Theme.viewer.bodyColor
                wrapMode: Text.Wrap
                lineHeightMode: Text.FixedHeight
                lineHeight: viewerModel.bodyLineHeight
            }
        }

        Internal.CallToActionButton {
            id: callToAction

            objectName: "callToAction"
            width: parent.width
            anchors.bottom: parent.bottom
            visible: viewerModel.hasCallToAction
            viewer: viewerModel
        }
    }

    // The widgets are made for the items that have them.
    Repeater {
        model: viewerModel.card.present ? 1 : 0

        Internal.WidgetCard {
            objectName: "widgetCard"
            anchors.left: root.left
            anchors.right: root.right
            anchors.bottom: root.bottom
            anchors.leftMargin: Theme.widget.cardHorizontalInset
            anchors.rightMargin: Theme.widget.cardHorizontalInset
            anchors.bottomMargin: Theme.widget.cardBottomInset
            height: implicitHeight
            viewer: viewerModel
        }
    }

    Repeater {
        model: viewerModel.hasSwipeUp ? 1 : 0

        Internal.SwipeWidget {
            objectName: "swipeWidget"
            width: root.width
            height: root.height
            viewer: viewerModel
        }
    }

    Internal.Glyph {
        objectName: "pauseGlyph"
        anchors.centerIn: parent
        name: "pause"
        size: Theme.viewer.pauseGlyphSize
        color: Theme.viewer.pauseGlyphColor
        opacity: viewerModel.held ? 1 : 0
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
        onActiveChanged: if (!active) viewerModel.endDrag(translation.x, translation.y,
                                                   centroid.velocity.x, centroid.velocity.y)
    }

    // Last, so that it completes first: the parts made at completion (the repeaters) see its first
    // item and are made once.
    StoryViewerModel {
        id: viewerModel

        objectName: "viewerModel"
        groups: root.groups
        startIndex: root.startIndex
        placementKey: root.placementKey
        shown: root.visible
        onDismissed: root.dismissed()
    }
}
