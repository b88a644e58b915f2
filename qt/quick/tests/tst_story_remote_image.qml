import QtQuick
import QtTest
import Quenmark.Stories
import Quenmark.Stories.Testing

Item {
    id: root

    width: 240
    height: 120

    // A 100 x 50 view on a black backdrop, counting its signals.
    Component {
        id: viewComponent

        Rectangle {
            id: backdrop

            property url url
            property int contentMode: StoryRemoteImage.Fill
            property int loadedCount: 0
            property int failedCount: 0

            width: 100
            height: 50
            color: "black"

            StoryRemoteImage {
                anchors.fill: parent
                url: backdrop.url
                contentMode: backdrop.contentMode
                placeholder: Rectangle { color: "gray" }
                onLoaded: backdrop.loadedCount++
                onFailed: backdrop.failedCount++
            }
        }
    }

    TestCase {
        name: "StoryRemoteImage"
        when: windowShown

        function init() {
            failOnWarning(/.?/)
        }

        function show(path, properties) {
            return createTemporaryObject(viewComponent, root, Object.assign({url: TestSupport.url(path)}, properties))
        }

        function shows(view, x, y, color) {
            return Qt.colorEqual(grabImage(view).pixel(x, y), color)
        }

        // A 50 x 100 picture, red above blue: fit shows it whole between black bands, fill crops it to
        // the view's width.
        function test_pictureReplacesPlaceholder_data() {
            return [
                {tag: "fill", contentMode: StoryRemoteImage.Fill, side: "red"},
                {tag: "fit", contentMode: StoryRemoteImage.Fit, side: "black"},
            ]
        }

        function test_pictureReplacesPlaceholder(data) {
            const path = "/portrait-" + data.tag + ".png"
            TestSupport.holdPicture(path, "red", "blue", 50, 100)
            const view = show(path, {contentMode: data.contentMode})
            tryVerify(() => shows(view, 50, 25, "gray"))
            TestSupport.release(path)
            tryVerify(() => shows(view, 50, 10, "red"))
            verify(shows(view, 50, 40, "blue"))
            verify(shows(view, 5, 10, data.side))
            compare(view.loadedCount, 1)
            compare(view.failedCount, 0)
        }

        function test_urlChangeNeverShowsTheEarlierPicture() {
            TestSupport.holdPicture("/a.png", "red", "red", 10, 10)
            TestSupport.servePicture("/b.png", "blue", "blue", 10, 10)
            const view = show("/a.png", {})
            tryVerify(() => TestSupport.requestCount("/a.png") === 1)
            view.url = TestSupport.url("/b.png")
            tryVerify(() => shows(view, 50, 25, "blue"))

            // A second view asks for A while it is in flight: one transfer, and its picture arrives after
            // the first view's stale result was dropped.
            const witness = show("/a.png", {x: 120})
            TestSupport.release("/a.png")
            tryCompare(witness, "loadedCount", 1)
            tryVerify(() => shows(witness, 50, 25, "red"))
            verify(shows(view, 50, 25, "blue"))
            compare(view.loadedCount, 1)
            compare(TestSupport.requestCount("/a.png"), 1)
        }

        function test_failingUrlFailsOnEveryLoad() {
            TestSupport.serveFailure("/missing.png")
            const first = show("/missing.png", {})
            tryCompare(first, "failedCount", 1)
            const second = show("/missing.png", {x: 120})
            tryCompare(second, "failedCount", 1)
            for (const view of [first, second]) {
                verify(shows(view, 50, 25, "gray"))
                compare(view.loadedCount, 0)
            }
            compare(TestSupport.requestCount("/missing.png"), 2)
        }
    }
}
