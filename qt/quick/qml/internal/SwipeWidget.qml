pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// The swipe-up invitation: a bouncing chevron disc over the hint, centred above the bottom edge. The
// viewer's drag handler takes the swipe over the whole screen; taps pass through to the tap zones.
Item {
    id: root

    required property StoryViewerModel viewer

    Column {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: Theme.widget.swipeBottomPadding
        spacing: Theme.widget.swipeSpacing
        Accessible.role: Accessible.Button
        Accessible.name: root.viewer.swipeHint
        Accessible.onPressAction: root.viewer.swipeUp()

        Rectangle {
            id: disc

            property real offset: 0

            anchors.horizontalCenter: parent.horizontalCenter
            width: Theme.widget.swipeDiscSize
            height: Theme.widget.swipeDiscSize
            radius: width / 2
            color: Theme.widget.swipeDiscColor
            opacity: Theme.widget.bounceRestingOpacity
            transform: Translate { y: disc.offset }

            Glyph {
                anchors.centerIn: parent
                anchors.verticalCenterOffset: -Theme.widget.swipeChevronLift
                name: "chevronUp"
                size: Theme.widget.swipeChevronSize
                color: Theme.viewer.text
            }

            SequentialAnimation {
                running: root.visible
                loops: Animation.Infinite

                ParallelAnimation {
                    NumberAnimation {
                        target: disc; property: "offset"; to: Theme.widget.bounceOffset
                        duration: Theme.widget.bounceHalfPeriodMilliseconds
                        easing.type: Easing.InOutQuad // qmllint disable
                    }
                    NumberAnimation {
                        target: disc; property: "opacity"; to: Theme.widget.bounceRaisedOpacity
                        duration: Theme.widget.bounceHalfPeriodMilliseconds
                        easing.type: Easing.InOutQuad // qmllint disable
                    }
                }
                ParallelAnimation {
                    NumberAnimation {
                        target: disc; property: "offset"; to: 0
                        duration: Theme.widget.bounceHalfPeriodMilliseconds
                        easing.type: Easing.InOutQuad // qmllint disable
                    }
                    NumberAnimation {
                        target: disc; property: "opacity"; to: Theme.widget.bounceRestingOpacity
                        duration: Theme.widget.bounceHalfPeriodMilliseconds
                        easing.type: Easing.InOutQuad // qmllint disable
                    }
                }
            }
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.viewer.swipeHint
            font: root.viewer.swipeHintFont
            color: Theme.widget.swipeHintColor
        }
    }
}
