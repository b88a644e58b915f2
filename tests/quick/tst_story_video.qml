import QtQuick
import QtTest
import Quenmark.Stories
import Quenmark.Stories.Testing

// Video items: the player's state, not its frames (offscreen renders video black). No failOnWarning: the
// platform's media stack reports missing audio devices and failed transfers as warnings.
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

    TestCase {
        name: "StoryVideo"
        when: windowShown

        // A video that cannot play stays black; the next plays with sound, pauses while the viewer is
        // hidden, gives way to the one after it and stops when an image item comes.
        function test_videoStateAcrossItems() {
            TestSupport.serveVideo("/first.mp4")
            TestSupport.serveVideo("/second.mp4")
            TestSupport.servePicture("/picture.png", "red", "blue", 60, 120)
            const items = ["/missing.mp4", "/first.mp4", "/second.mp4", "/picture.png"].map(path => ({
                id: path, duration: 10, mediaType: path.endsWith(".png") ? "IMAGE" : "VIDEO", mediaURL: TestSupport.url(path)}))
            const view = createTemporaryObject(viewerComponent, root, {
                groups: TestSupport.storyGroups([{id: "videos", title: "Videos", items: items}])})
            const model = findChild(view, "viewerModel")
            const player = findChild(findChild(view, "video"), "videoPlayer")
            tryVerify(() => player.failed)
            model.next()
            tryVerify(() => player.playing)
            verify(!player.muted)
            compare(player.source, TestSupport.url("/first.mp4"))
            view.visible = false
            verify(!player.playing)
            view.visible = true
            tryVerify(() => player.playing)
            model.next()
            compare(player.source, TestSupport.url("/second.mp4"))
            tryVerify(() => player.playing)
            waitForRendering(view)  // the header lays the new button out
            mouseClick(findChild(view, "mute"))
            verify(player.muted)
            model.next()
            compare(findChild(view, "video"), null)
        }
    }
}
