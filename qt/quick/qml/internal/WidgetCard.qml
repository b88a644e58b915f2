pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// The poll or quiz card at the bottom of the viewer: badge, title and total, the question, one button per
// option.
Rectangle {
    id: root

    required property StoryViewerModel viewer
    readonly property WidgetCardModel card: root.viewer.card

    implicitHeight: content.implicitHeight + 2 * Theme.widget.cardPadding
    radius: Theme.widget.cardCornerRadius
    color: Theme.widget.cardFill
    border.color: Theme.widget.cardOutline
    border.width: Theme.widget.cardOutlineWidth

    Column {
        id: content

        anchors.fill: parent
        anchors.margins: Theme.widget.cardPadding
        spacing: Theme.widget.cardSpacing

        Item {
            width: parent.width
            height: Math.max(badge.height, title.implicitHeight, total.implicitHeight)

            Rectangle {
                id: badge

                anchors.verticalCenter: parent.verticalCenter
                width: badgeRow.implicitWidth + 2 * Theme.widget.badgeHorizontalPadding
                height: badgeRow.implicitHeight + 2 * Theme.widget.badgeVerticalPadding
                radius: height / 2
                color: root.card.badgeBackground

                Row {
                    id: badgeRow

                    anchors.centerIn: parent
                    spacing: Theme.widget.badgeSpacing

                    Glyph {
                        anchors.verticalCenter: parent.verticalCenter
                        name: root.card.badgeGlyph
                        size: Theme.widget.badgeFontSize
                        color: root.card.badgeTextColor
                        knockoutColor: root.card.badgeBackground
                    }

                    Text {
                        text: root.card.badgeTitle
                        font.pixelSize: Theme.widget.badgeFontSize
                        font.bold: true
                        color: root.card.badgeTextColor
                    }
                }
            }

            Text {
                id: title

                anchors.left: badge.right
                anchors.leftMargin: Theme.widget.headerSpacing
                anchors.right: total.left
                anchors.rightMargin: Theme.widget.headerSpacing
                anchors.verticalCenter: parent.verticalCenter
                text: root.card.title
                font: root.card.titleFont
                color: Theme.widget.titleColor
                elide: Text.ElideRight
            }

            Text {
                id: total

                objectName: "total"
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                text: root.card.totalLine
                font: root.card.totalFont
                color: Theme.widget.totalColor
            }
        }

        Text {
            width: parent.width
            text: root.card.question
            font: root.card.questionFont
            color: Theme.viewer.text
            wrapMode: Text.Wrap
        }

        Repeater {
            model: root.card

            WidgetOptionButton {
                width: content.width
                viewer: root.viewer
            }
        }
    }
}
