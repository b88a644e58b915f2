// Not `pragma ComponentBehavior: Bound`: StoryRemoteImage makes the placeholder in a context of its own.
import QtQuick
import QtQuick.Shapes
import QtQuick.Templates as T
import Quenmark.Stories

// One group of the story bar: its cover, framed by the theme's gradient ring and rounded as the theme
// says, above its title. A button: a tap, Enter or Space opens the group; Left and Right move the
// keyboard focus along the row.
T.AbstractButton {
    id: root

    required property int index
    required property string title
    required property font titleFont
    required property url coverUrl
    required property real cornerRadius
    required property string ringPath
    required property color ringStartColor
    required property color ringEndColor
    required property string accessibleName

    implicitWidth: Theme.bar.columnWidth
    implicitHeight: implicitContentHeight
    leftInset: -Theme.bar.focusFrameOutset
    rightInset: -Theme.bar.focusFrameOutset
    topInset: -Theme.bar.focusFrameOutset
    bottomInset: -Theme.bar.focusFrameOutset
    Accessible.role: Accessible.Button
    Accessible.name: root.accessibleName
    Accessible.onPressAction: root.clicked()
    Keys.onReturnPressed: root.clicked()
    Keys.onEnterPressed: root.clicked()
    Keys.onLeftPressed: root.focusNeighbour(false)
    Keys.onRightPressed: root.focusNeighbour(true)

    // The next (or previous) bubble of the row takes the focus; the row's ends stop it (the focus chain
    // would wrap around).
    function focusNeighbour(forward: bool) {
        const next = root.nextItemInFocusChain(forward) as StoryBubble
        if (next && next.parent === root.parent && next.index === root.index + (forward ? 1 : -1))
            // Qt 6.4's type information has no Qt::FocusReason.
            next.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason) // qmllint disable
    }

    contentItem: Column {
        spacing: Theme.bar.titleSpacing

        Item {
            objectName: "bubble"
            anchors.horizontalCenter: parent.horizontalCenter
            width: Theme.bar.bubbleSize
            height: Theme.bar.bubbleSize

            StoryRemoteImage {
                objectName: "cover"
                anchors.fill: parent
                url: root.coverUrl
                contentMode: StoryRemoteImage.Fill
                radius: root.cornerRadius
                placeholder: Component {
                    Rectangle {
                        radius: root.cornerRadius // qmllint disable unqualified
                        color: Theme.bar.placeholderFill

                        Glyph {
                            anchors.centerIn: parent
                            name: "photo"
                            size: Theme.bar.photoGlyphSize
                            color: Theme.bar.photoGlyphColor
                        }
                    }
                }
            }

            // The outline of the bubble's shape, half inside and half outside its edge: the area between
            // two rounded squares, filled with the gradient.
            Shape {
                objectName: "ring"
                x: Theme.bar.ringFrameOrigin
                y: Theme.bar.ringFrameOrigin
                width: Theme.bar.ringFrameSide
                height: Theme.bar.ringFrameSide
                antialiasing: true
                Accessible.ignored: true

                ShapePath {
                    strokeColor: "transparent"
                    fillRule: ShapePath.OddEvenFill
                    fillGradient: LinearGradient {
                        x1: Theme.bar.ringGradientStart
                        y1: Theme.bar.ringGradientStart
                        x2: Theme.bar.ringGradientEnd
                        y2: Theme.bar.ringGradientEnd

                        GradientStop {
                            position: 0
                            color: root.ringStartColor
                        }
                        GradientStop {
                            position: 1
                            color: root.ringEndColor
                        }
                    }

                    PathSvg {
                        path: root.ringPath
                    }
                }
            }
        }

        Text {
            width: root.availableWidth
            text: root.title
            font: root.titleFont
            color: root.palette.windowText
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            maximumLineCount: 1
            Accessible.ignored: true
        }
    }

    background: Rectangle {
        color: "transparent"
        radius: Theme.bar.focusFrameRadius
        border.color: root.palette.highlight
        border.width: Theme.bar.focusFrameWidth
        visible: root.visualFocus
    }
}
