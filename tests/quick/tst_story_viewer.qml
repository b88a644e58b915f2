import QtQuick
import QtTest
import Quenmark.Stories
import Quenmark.Stories.Testing

Item {
    id: root

    width: 300
    height: 600

    Component {
        id: viewerComponent

        StoryViewerView {
            width: root.width
            height: root.height
        }
    }

    SignalSpy {
        id: dismissedSpy

        signalName: "dismissed"
    }

    TestCase {
        id: testCase

        property int made: 0

        name: "StoryViewerView"
        when: windowShown

        function initTestCase() {
            TestSupport.configure(true)  // preview: votes are answered on the device
            TestSupport.servePicture("/media.png", "red", "blue", 60, 120)
        }

        function init() {
            failOnWarning(/.?/)
        }

        // A fresh item id for every item of every test, so that no vote or swipe carries over.
        function item(fields) {
            return Object.assign({id: "item-" + (++made), duration: 10}, fields)
        }

        function items(count, fields) {
            return Array.from({length: count}, () => item(fields))
        }

        // One group of `list` items; `theme` as TestSupport.storyGroups takes it.
        function groupOf(list, theme) {
            return TestSupport.storyGroups([{id: "group-" + made, title: "Group", theme: theme, items: list}])
        }

        function show(properties) {
            const view = createTemporaryObject(viewerComponent, root, properties)
            dismissedSpy.target = view
            dismissedSpy.clear()
            return view
        }

        function open(list, theme) {
            const view = show({groups: groupOf(list, theme)})
            waitForRendering(view)
            return view
        }

        function modelOf(view) {
            return findChild(view, "viewerModel")
        }

        // The rendered colour at (x, y) of `item`, a part of `view` (Qt 6.4's grabImage of a nested item
        // copies the wrong part of the window).
        function pixel(view, item, x, y) {
            const point = item.mapToItem(view, x, y)
            return grabImage(view).pixel(point.x, point.y)
        }

        function shows(view, item, x, y, color) {
            return Qt.colorEqual(pixel(view, item, x, y), color)
        }

        function test_dragEnds_data() {
            return [
                {tag: "130 down, 50 across closes", widgetType: "NONE", dx: 50, dy: 130, closes: 1, swipes: 0},
                {tag: "130 down, 90 across does nothing", widgetType: "NONE", dx: 90, dy: 130, closes: 0, swipes: 0},
                {tag: "60 up on a swipe item swipes", widgetType: "SWIPE", dx: 0, dy: -60, closes: 0, swipes: 1},
                {tag: "60 up on another item does nothing", widgetType: "NONE", dx: 0, dy: -60, closes: 0, swipes: 0},
                {tag: "across never navigates", widgetType: "NONE", dx: -200, dy: 0, closes: 0, swipes: 0},
            ]
        }

        function test_dragEnds(data) {
            const link = "https://example.com/swipe/" + made
            const view = open([item({widgetType: data.widgetType, swipeCallbackURL: link}), item({})])
            mousePress(view, 150, 300)
            for (let step = 1; step <= 5; ++step)
                mouseMove(view, 150 + data.dx * step / 5, 300 + data.dy * step / 5, 16)
            mouseRelease(view, 150 + data.dx, 300 + data.dy, Qt.LeftButton, Qt.NoModifier, 16)
            compare(dismissedSpy.count, data.closes)
            compare(TestSupport.openedUrls().filter(url => url === link).length, data.swipes)
            compare(modelOf(view).itemIndex, 0)
        }

        // A picture the pipeline holds is in the viewer as soon as it is made: no frame shows its placeholder.
        function test_pictureInMemoryShowsAtOnce() {
            const fields = {mediaType: "IMAGE", mediaURL: TestSupport.url("/media.png")}
            const first = findChild(open([item(fields)]), "picture")
            tryCompare(findChild(first, "picture"), "status", Image.Ready)
            const picture = findChild(show({groups: groupOf([item(fields)])}), "picture")
            compare(findChild(picture, "picture").status, Image.Ready)
            verify(!findChild(picture, "placeholder").active)
        }

        // Taps in the right, middle and left part, then the keys.
        function test_tapsAndKeys() {
            const view = open(items(3, {title: "Pancakes"}))
            const model = modelOf(view)
            for (const [x, index] of [[0.9, 1], [0.5, 1], [0.1, 0]]) {
                mouseClick(view, view.width * x, 300)
                compare(model.itemIndex, index)
            }
            verify(view.activeFocus)
            keyClick(Qt.Key_Right)
            compare(findChild(view, "progressHeader").Accessible.name, "Story 2 of 3: Pancakes")
            keyClick(Qt.Key_Left)
            compare(model.itemIndex, 0)
            keyClick(Qt.Key_Space)
            verify(!model.playing)
            keyClick(Qt.Key_Space)
            verify(model.playing)
            keyClick(Qt.Key_Escape)
            compare(dismissedSpy.count, 1)
        }

        function test_callToActionColours_data() {
            return [
                {tag: "filled on white", primary: "#ffffff", style: "FILLED", text: "#000000", fill: "#ffffff", border: 0},
                {tag: "filled on dark blue", primary: "#0d1a66", style: "FILLED", text: "#ffffff", fill: "#0d1a66", border: 0},
                {tag: "outlined on luminance 0.2", primary: "#7c7c7c", style: "OUTLINED", text: "#ffffff", fill: "transparent",
                 border: 1},
            ]
        }

        function test_callToActionColours(data) {
            const view = open([item({ctaTitle: "Shop", ctaURL: "https://example.com/shop"})],
                              {primaryColor: data.primary, ctaStyle: data.style})
            const button = findChild(view, "callToAction")
            verify(button.visible)
            verify(Qt.colorEqual(findChild(button, "callToActionLabel").color, data.text))
            compare(button.border.width, data.border)
            verify(data.border === 0 || Qt.colorEqual(button.border.color, "white"))
            verify(data.fill === "transparent" || shows(view, button, 8, button.height / 2, data.fill))
            mouseClick(button)
            compare(TestSupport.openedUrls().slice(-1)[0], "https://example.com/shop")
        }

        function test_barStyle_data() {
            return [
                // The gap shows the placeholder: blue at 0.18 over black.
                {tag: "five items as five segments", count: 5, gapColor: "#00002e"},
                {tag: "one item as one track", count: 1, gapColor: "#00ff00"},
            ]
        }

        // Half of the first item played: its segment (or the track) green to its middle.
        function test_barStyle(data) {
            const view = open(items(data.count, {}), {primaryColor: "#00ff00", secondaryColor: "#0000ff"})
            const header = findChild(view, "progressHeader")
            TestSupport.advance(5)
            const fill = data.count === 1 ? header.width / 2 : (header.width - 16) / 5 / 2
            tryVerify(() => shows(view, header, fill - 2, 1, "#00ff00") && !shows(view, header, fill + 2, 1, "#00ff00"))
            // Between the first and second segment: the spacing, or the track's fill.
            verify(shows(view, header, (header.width - 16) / 5 + 2, 1, data.gapColor))
        }

        // The block: its texts above the bottom padding, the padding alone, or none.
        function test_textBlock_data() {
            return [
                {tag: "title and body", fields: {title: "Lemon pasta", bodyText: "Ready in twenty minutes."}, tall: true},
                {tag: "empty title", fields: {title: ""}, tall: false},
                {tag: "neither", fields: {}},
            ]
        }

        function test_textBlock(data) {
            const block = findChild(open([item(data.fields)]), "textBlock")
            compare(block.visible ? block.height > Theme.viewer.textBlockBottomPadding : undefined, data.tall)
            verify(!block.visible || block.height >= Theme.viewer.textBlockBottomPadding)
        }

        function test_voteShowsResults() {
            const view = open([item({widgetType: "POLL", widgetQuestion: "Next?", widgetOptions: [
                {id: "a", text: "Pancakes", orderIndex: 0, voteCount: 3},
                {id: "b", text: "Pasta", orderIndex: 1, voteCount: 0}]})])
            const first = findChild(view, "option-a")
            const second = findChild(view, "option-b")
            verify(first.enabled)
            compare(first.Accessible.role, Accessible.Button)
            mouseClick(second)
            // Preview mode answers with one vote for the choice.
            tryCompare(second, "percentText", "25%")
            compare(first.percentText, "75%")
            verify(!first.enabled && !second.enabled)
            compare(second.Accessible.name, "Pasta, 25%, your choice")
            // The choice in the primary colour at 0.85 over the card.
            waitForRendering(view)
            const chosen = pixel(view, second, 6, second.height / 2)
            verify(chosen.r > 0.8 && chosen.g > 0.45 && chosen.g < 0.6 && chosen.b < 0.15, chosen)
        }

        function test_playbackHolds_data() {
            // A press that moves before it is long: 9 and 9 points (12.7 away) stays a press of the tap
            // handler, whose long press the viewer refuses; 15 across ends the press.
            const movedPress = (dx, dy) => ({
                hold: view => {
                    const spy = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: 'longPressed' }", testCase)
                    spy.target = findChild(view, "tapHandler")
                    mousePress(view, 270, 300)
                    mouseMove(view, 270 + dx, 300 + dy)
                    if (spy.target.pressed)
                        spy.wait()
                },
                release: view => mouseRelease(view, 270 + dx, 300 + dy)})
            return [
                {tag: "host", stops: true, hold: view => view.pause(), release: view => view.resume()},
                {tag: "application inactive", stops: true, hold: () => TestSupport.postApplicationEvent("willResignActive"),
                 release: () => TestSupport.postApplicationEvent("didBecomeActive")},
                {tag: "hidden", stops: true, hold: view => view.visible = false, release: view => view.visible = true},
                {tag: "screen reader", stops: true, hold: () => TestSupport.setScreenReaderActive(true),
                 release: () => TestSupport.setScreenReaderActive(false)},
                {tag: "long press", stops: true, held: true, hold: view => {
                    mousePress(view, 270, 300)
                    tryVerify(() => modelOf(view).held)
                }, release: view => mouseRelease(view, 270, 300)},
                Object.assign({tag: "press moved 9 and 9 points", stops: false}, movedPress(9, 9)),
                Object.assign({tag: "press moved 15 points across", stops: false}, movedPress(15, 0)),
            ]
        }

        // Held for a second, then played for half a second: 0.05 of a ten-second item. The user's hold
        // shows the pause glyph (its left bar, white at 0.85 on the placeholder).
        function test_playbackHolds(data) {
            const view = open(items(2, {}))
            const model = modelOf(view)
            const glyph = findChild(view, "pauseGlyph")
            data.hold(view)
            compare(model.playing, !data.stops)
            compare(model.held, !!data.held)
            if (data.held) {
                tryCompare(glyph, "opacity", 1)
                verify(pixel(view, glyph, glyph.width / 3, glyph.height / 2).r > 0.8)
            }
            TestSupport.advance(1)
            data.release(view)
            if (!data.stops)
                return
            verify(model.playing && !model.held)
            TestSupport.advance(0.5)
            tryVerify(() => Math.abs(model.progress - 0.05) < 1e-9, 5000, "the progress counts only after the hold")
            tryCompare(glyph, "opacity", 0)
            compare(model.itemIndex, 0)  // a long press is no tap
        }

        function test_placement_data() {
            return [
                {tag: "its groups play", key: "home", dismissed: 0, name: "Story 1 of 2: Welcome"},
                {tag: "a failed load closes", key: "nowhere", dismissed: 1, name: "Story 0 of 0"},
            ]
        }

        // Given no groups, the viewer plays those of its placement.
        function test_placement(data) {
            TestSupport.serveStories("home", [{id: "3f2504e0-4f89-11d3-9a0c-0305e82c3301",
                title: "Home", items: ["7c9e6679-7425-40de-944b-e07fc1f90ae7", "7c9e6679-7425-40de-944b-e07fc1f90ae8"].map(
                    (id, index) => ({id: id, type: "IMAGE", title: index === 0 ? "Welcome" : "Second"}))}])
            const view = show({placementKey: data.key})
            const header = findChild(view, "progressHeader")
            tryCompare(dismissedSpy, "count", data.dismissed)
            tryVerify(() => header.Accessible.name === data.name, 5000, "the header names the item")
            compare(dismissedSpy.count, data.dismissed)
        }
    }
}
