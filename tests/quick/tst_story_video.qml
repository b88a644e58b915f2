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

        function initTestCase() {
            TestSupport.useVirtualTime()
            TestSupport.serveVideo("/first.mp4")
            TestSupport.serveVideo("/second.mp4")
            TestSupport.servePicture("/picture.png", "red", "blue", 60, 120)
        }

        function video(path) {
            return {id: "video" + path, duration: 10, mediaType: "VIDEO", mediaURL: TestSupport.url(path)}
        }

        function playerOf(view) {
            const video = findChild(view, "video")
            return video ? findChild(video, "videoPlayer") : null
        }

        // A video that cannot play stays black; the next plays with sound, pauses while the viewer is
        // hidden, gives way to the one after it and stops when an image item comes.
        function test_videoStateAcrossItems() {
            const groups = TestSupport.storyGroups([{id: "videos", title: "Videos", items: [
                video("/missing.mp4"), video("/first.mp4"), video("/second.mp4"),
                {id: "picture", duration: 10, mediaType: "IMAGE", mediaURL: TestSupport.url("/picture.png")}]}])
            const view = createTemporaryObject(viewerComponent, root, {groups: groups})
            const model = findChild(view, "viewerModel")
            const player = playerOf(view)
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
            compare(playerOf(view), null)
        }
    }
}
