import QtQuick
import QtTest
import Quenmark.Stories
import Quenmark.Stories.Testing

Rectangle {
    id: root

    width: 300
    height: 400
    color: "white"

    Component {
        id: barComponent

        StoryBarView {
            width: root.width
        }
    }

    TestCase {
        id: testCase

        property int made: 0

        name: "StoryBarView"
        when: windowShown

        function initTestCase() {
            TestSupport.configure(false)
        }

        function init() {
            failOnWarning(/.?/)
        }

        function uuid(n) {
            return "00000000-0000-4000-8000-" + String(n).padStart(12, "0")
        }

        // A group as the service sends it: one one-second picture item (with `fields` added) whose picture is
        // also the cover.
        function group(title, cover, theme, fields) {
            ++made
            return {id: uuid(made), title: title, items: [Object.assign({id: uuid(100000 + made), type: "IMAGE",
                    durationSeconds: 1, media: {mediaType: "IMAGE", mediaUrl: TestSupport.url(cover)}}, fields)],
                    theme: Object.assign({progressStyle: "BAR", bubbleStyle: "CIRCLE", ctaStyle: "FILLED",
                                          primaryColor: "#FF0000", secondaryColor: "#0000FF"}, theme)}
        }

        function show(placementKey) {
            return createTemporaryObject(barComponent, root, {placementKey: placementKey})
        }

        function modelOf(bar) {
            return findChild(bar, "barModel")
        }

        // The rendered colour at (x, y) of `item`, a part of the window.
        function pixel(item, x, y) {
            const point = item.mapToItem(root, x, y)
            return grabImage(root).pixel(point.x, point.y)
        }

        function near(color, expected) {
            const want = Qt.color(expected)
            return Math.abs(color.r - want.r) < 0.1 && Math.abs(color.g - want.g) < 0.1 && Math.abs(color.b - want.b) < 0.1
        }

        function test_takesNoSpaceWithoutGroups() {
            TestSupport.servePicture("/quiet.png", "lime", "lime", 8, 8)
            const path = TestSupport.serveStories("quiet", [group("Quiet", "/quiet.png", {})], true)
            const bar = show("quiet")
            verify(modelOf(bar).loading)
            compare(bar.height, 0)
            TestSupport.release(path)
            tryCompare(bar, "height", 110)
            // Re-made bindings start no second load.
            bar.placementKey = "elsewhere"
            bar.placementKey = "quiet"
            verify(!modelOf(bar).loading)
            compare(bar.height, 110)

            const failed = show("missing")
            const failures = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: 'loadFailed' }", testCase)
            failures.target = failed
            failures.wait()
            verify(failures.signalArguments[0][0].includes("404"), failures.signalArguments[0][0])
            compare(failed.height, 0)
            compare(modelOf(failed).count, 0)
        }

        // Pixels (0, 0) and (7, 7) of the bubble tell the shapes apart: outside, on the ring or on the cover.
        function test_bubbleShapes_data() {
            return [
                {tag: "circle", style: "CIRCLE", ringAt: 9.4, corner: "white", inside: "white"},
                {tag: "rounded", style: "ROUNDED", ringAt: 4.7, corner: "white", inside: "lime"},
                {tag: "square", style: "SQUARE", ringAt: 0.5, corner: "red", inside: "lime"},
            ]
        }

        function test_bubbleShapes(data) {
            const cover = "/cover-" + data.tag + ".png"
            TestSupport.servePicture(cover, "lime", "lime", 40, 40, true)
            TestSupport.serveStories("shape-" + data.tag, [group("Launch week", cover, {bubbleStyle: data.style})])
            const bar = show("shape-" + data.tag)
            tryCompare(bar, "height", 110)
            const bubble = findChild(findChild(bar, "bubble-0"), "bubble")
            // The placeholder: gray at 0.25 over white, beside its photo glyph.
            tryVerify(() => near(pixel(bubble, 12, 32), "#e3e3e4"))
            TestSupport.release(cover)
            tryVerify(() => near(pixel(bubble, 32, 32), "lime"))
            verify(near(pixel(bubble, 0, 0), data.corner), pixel(bubble, 0, 0))
            verify(near(pixel(bubble, 7, 7), data.inside), pixel(bubble, 7, 7))
            // The ring runs from red at the top-left to blue at the bottom-right.
            const start = pixel(bubble, data.ringAt, data.ringAt)
            const end = pixel(bubble, 64 - data.ringAt, 64 - data.ringAt)
            verify(start.r > 0.75 && start.b < 0.25, start)
            verify(end.b > 0.75 && end.r < 0.25, end)
        }

        function test_everyGroupIsReportedOnceWhenTheRowIsShown() {
            TestSupport.servePicture("/many.png", "lime", "lime", 8, 8)
            const groups = Array.from({length: 10}, (_, n) => group("Group " + n, "/many.png", {}))
            TestSupport.serveStories("many", groups)
            const before = TestSupport.impressedGroups().length
            const bar = show("many")
            tryCompare(bar, "height", 110)
            // Four bubbles fit, all ten are reported.
            compare(TestSupport.impressedGroups().slice(before), groups.map(g => g.id))
            mouseDrag(bar, 250, 40, -200, 0)
            bar.visible = false
            bar.visible = true
            compare(TestSupport.impressedGroups().length, before + 10)
        }

        function test_presentation_data() {
            return [
                {tag: "a tap, then Escape", open: bar => mouseClick(findChild(bar, "bubble-2")),
                 dismiss: () => keyClick(Qt.Key_Escape)},
                {tag: "keys, then the end of the last group", open: bar => {
                    keyClick(Qt.Key_Tab)
                    verify(findChild(bar, "bubble-0").activeFocus)
                    compare(findChild(bar, "bubble-0").Accessible.name, "Launch week, story 1 of 3")
                    keyClick(Qt.Key_Left)
                    verify(findChild(bar, "bubble-0").activeFocus)
                    for (let step = 0; step < 3; ++step)
                        keyClick(Qt.Key_Right)
                    keyClick(Qt.Key_Space)
                }, dismiss: () => TestSupport.advance(1.05)},
            ]
        }

        // The viewer covers the whole window from the third group, a poll; its dismissal writes false once.
        function test_presentation(data) {
            TestSupport.servePicture("/open.png", "lime", "blue", 8, 8)
            const key = "open-" + made
            TestSupport.serveStories(key, [group("Launch week", "/open.png", {}), group("Menu", "/open.png", {}),
                                           group("Last", "/open.png", {}, {widgetType: "POLL",
                                                 widgetOptions: [{id: uuid(9), text: "Pasta", orderIndex: 0}]})])
            const bar = show(key)
            const model = modelOf(bar)
            tryCompare(model, "count", 3)
            data.open(bar)
            verify(model.viewerPresented)
            compare(model.selectedIndex, 2)
            const viewer = findChild(findChild(root.parent, "viewer"), "viewerModel")
            compare(viewer.groupIndex, 2)
            tryVerify(() => !near(grabImage(root).pixel(150, 390), "white"))

            const writes = createTemporaryQmlObject("import QtTest; SignalSpy { signalName: 'viewerPresentedChanged' }",
                                                    testCase)
            writes.target = model
            data.dismiss()
            tryCompare(model, "viewerPresented", false)
            compare(writes.count, 1)
            verify(findChild(bar, "bubble-2").activeFocus)
            tryVerify(() => near(grabImage(root).pixel(150, 390), "white"))
        }

        function test_withoutSelectionTheCoverIsBlackUntilTapped() {
            TestSupport.servePicture("/blank.png", "lime", "lime", 8, 8)
            TestSupport.serveStories("blank", [group("Only", "/blank.png", {})])
            const model = modelOf(show("blank"))
            tryCompare(model, "count", 1)
            model.viewerPresented = true
            tryVerify(() => near(grabImage(root).pixel(150, 390), "black"))
            mouseClick(root, 150, 390)
            tryCompare(model, "viewerPresented", false)
        }
    }
}
