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

        // A 50 x 100 picture, red above blue: fit shows it whole between black bands, fill crops it.
        function test_pictureReplacesPlaceholder_data() {
            return [
                {tag: "fill", contentMode: StoryRemoteImage.Fill, side: "red"},
                {tag: "fit", contentMode: StoryRemoteImage.Fit, side: "black"},
            ]
        }

        function test_pictureReplacesPlaceholder(data) {
            const path = "/portrait-" + data.tag + ".png"
            TestSupport.servePicture(path, "red", "blue", 50, 100, true)
            const view = show(path, {contentMode: data.contentMode})
            tryVerify(() => shows(view, 50, 25, "gray"))
            TestSupport.release(path)
            tryVerify(() => shows(view, 50, 10, "red"))
            verify(shows(view, 50, 40, "blue"))
            verify(shows(view, 5, 10, data.side))
            compare(view.loadedCount, 1)
        }

        // B replaces A while A is in flight. A second view then asks for A: one transfer, and its picture
        // arrives after the first view's stale result.
        function test_urlChangeNeverShowsTheEarlierPicture() {
            TestSupport.servePicture("/a.png", "red", "red", 10, 10, true)
            TestSupport.servePicture("/b.png", "blue", "blue", 10, 10)
            const view = show("/a.png", {})
            view.url = TestSupport.url("/b.png")
            tryVerify(() => shows(view, 50, 25, "blue"))
            const witness = show("/a.png", {x: 120})
            TestSupport.release("/a.png")
            tryVerify(() => witness.loadedCount === 1 && shows(witness, 50, 25, "red"))
            verify(shows(view, 50, 25, "blue"))
            compare(view.loadedCount, 1)
            compare(TestSupport.requestCount("/a.png"), 1)
        }

        function test_failingUrlFailsOnEveryLoad() {
            const first = show("/missing.png", {})
            tryCompare(first, "failedCount", 1)
            const second = show("/missing.png", {x: 120})
            tryCompare(second, "failedCount", 1)
            verify(shows(second, 50, 25, "gray"))
            compare(first.loadedCount + second.loadedCount, 0)
            compare(TestSupport.requestCount("/missing.png"), 2)
        }
    }
}
