pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Quenmark.Stories

// One option of a poll or quiz: emoji, text, then the results, a spinner or nothing, then the mark.
// Disabled (no feedback) while a vote is chosen, in flight or its results show.
T.AbstractButton {
    id: root

    // Null for a moment while a closing viewer takes its rows down: the fonts then fall back.
    required property StoryViewerModel viewer
    required property string optionId
    required property string optionText
    required property bool optionEnabled
    // The row's roles (WidgetCardModel).
    required property string emoji
    required property bool selected
    required property color fill
    required property color outlineColor
    required property real outlineWidth
    required property color textColor
    required property bool spinner
    required property string percentText
    required property color percentColor
    required property string countText
    required property int answer
    required property int mark
    required property color markColor
    required property real markLineWidth
    required property color checkColor
    required property string accessibleName

    objectName: "option-" + root.optionId
    text: root.optionText
    enabled: root.optionEnabled
    leftPadding: Theme.widget.rowHorizontalPadding
    rightPadding: Theme.widget.rowHorizontalPadding
    topPadding: Theme.widget.rowVerticalPadding
    bottomPadding: Theme.widget.rowVerticalPadding
    implicitHeight: Math.max(label.implicitHeight, Theme.widget.ringSize) + topPadding + bottomPadding
    // Taps leave the keyboard focus with the viewer. Qt 6.4's type information has no Qt::FocusPolicy.
    focusPolicy: Qt.NoFocus // qmllint disable
    Accessible.role: Accessible.Button
    Accessible.name: root.accessibleName
    Accessible.onPressAction: root.clicked()
    onClicked: root.viewer.vote(root.optionId)

    background: Rectangle {
        radius: Theme.widget.rowCornerRadius
        color: root.fill
        border.color: root.outlineColor
        border.width: root.outlineWidth
    }

    Item {
        anchors.fill: parent
        anchors.leftMargin: root.leftPadding
        anchors.rightMargin: root.rightPadding
        anchors.topMargin: root.topPadding
        anchors.bottomMargin: root.bottomPadding

        Row {
            id: leading

            anchors.left: parent.left
            anchors.right: trailing.left
            anchors.rightMargin: Theme.widget.rowSpacing
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.widget.rowSpacing

            Text {
                width: Theme.widget.emojiBoxWidth
                visible: root.emoji !== ""
                text: root.emoji
                font.pixelSize: Theme.widget.emojiFontSize
                anchors.verticalCenter: parent.verticalCenter
            }

            Text {
                id: label

                width: leading.width - (root.emoji !== "" ? Theme.widget.emojiBoxWidth + leading.spacing : 0)
                text: root.text
                font: root.viewer?.card.optionFont ?? Qt.application.font
                color: root.textColor
                wrapMode: Text.Wrap
                maximumLineCount: Theme.widget.optionMaximumLines
                elide: Text.ElideRight
                anchors.verticalCenter: parent.verticalCenter
            }
        }

        Row {
            id: trailing

            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            spacing: Theme.widget.rowSpacing

            Text {
                objectName: "percent"
                visible: root.percentText !== ""
                text: root.percentText
                font: root.viewer?.card.percentFont ?? Qt.application.font
                color: root.percentColor
                anchors.verticalCenter: parent.verticalCenter
            }

            Text {
                visible: root.countText !== ""
                text: root.countText
                font: root.viewer?.card.countFont ?? Qt.application.font
                color: Theme.widget.countColor
                anchors.verticalCenter: parent.verticalCenter
            }

            Glyph {
                visible: root.answer !== WidgetCardModel.NoAnswer
                name: root.answer === WidgetCardModel.Right ? "checkCircle" : "crossCircle"
                size: Theme.widget.answerGlyphSize
                color: root.answer === WidgetCardModel.Right ? Theme.widget.rightAnswerColor
                                                             : Theme.widget.wrongAnswerColor
                knockoutColor: Theme.viewer.text
                anchors.verticalCenter: parent.verticalCenter
            }

            Glyph {
                objectName: "spinner"
                visible: root.spinner
                name: "spinner"
                size: Theme.widget.ringSize * Theme.widget.spinnerScale
                color: Theme.viewer.text
                anchors.verticalCenter: parent.verticalCenter

                RotationAnimator on rotation {
                    from: 0
                    to: 360
                    duration: Theme.widget.spinnerTurnMilliseconds
                    loops: Animation.Infinite
                    running: root.spinner
                }
            }

            // The mark: a ring (with a dot when chosen), a check on a disc, a small dot, or nothing.
            Item {
                objectName: "mark"
                width: Theme.widget.ringSize
                height: Theme.widget.ringSize
                visible: root.mark !== WidgetCardModel.NoMark
                anchors.verticalCenter: parent.verticalCenter

                Rectangle {
                    anchors.fill: parent
                    radius: width / 2
                    visible: root.mark === WidgetCardModel.Ring || root.mark === WidgetCardModel.ChosenRing
                    color: "transparent"
                    border.color: root.markColor
                    border.width: root.markLineWidth
                }

                Rectangle {
                    anchors.centerIn: parent
                    width: root.mark === WidgetCardModel.ChosenRing ? Theme.widget.ringDotSize
                         : root.mark === WidgetCardModel.Dot ? Theme.widget.resultDotSize
                         : Theme.widget.ringSize
                    height: width
                    radius: width / 2
                    visible: root.mark !== WidgetCardModel.Ring
                    color: root.markColor
                }

                Glyph {
                    anchors.centerIn: parent
                    visible: root.mark === WidgetCardModel.Check
                    name: "check"
                    size: Theme.widget.checkGlyphSize
                    color: root.checkColor
                }
            }
        }
    }
}
