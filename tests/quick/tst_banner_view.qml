import QtQuick
import QtTest
import Quenmark.Stories
import Quenmark.Stories.Testing

Item {
    id: root

    width: 400
    height: 500

    Component {
        id: slotComponent

        Item {
            property alias view: banner
            property alias placementKey: banner.placementKey

            BannerView {
                id: banner
            }
        }
    }

    TestCase {
        id: testCase

        property int made: 0

        name: "BannerView"
        when: windowShown

        function initTestCase() {
            TestSupport.configure(false)
            // Black over blue: the segments show against the top, the dots against the bottom.
            TestSupport.servePicture("/wide.png", "black", "blue", 160, 90)
            TestSupport.servePicture("/green.png", "green", "green", 160, 90)
        }

        function init() {
            failOnWarning(/.?/)
        }

        function item(fields) {
            return Object.assign({id: ++made, mediaUrl: TestSupport.url("/wide.png"), orderIndex: made,
                                  ctaType: "NONE"}, fields)
        }

        function banner(type, items, fields) {
            return Object.assign({id: ++made, type: type, placementKey: "p", viewOrder: made, items: items}, fields)
        }

        // A slot `width` wide showing `banners` of a placement of its own; waits for the first picture.
        function show(banners, width) {
            const key = "placement-" + (++made)
            TestSupport.serveBanners(key, banners)
            const slot = createTemporaryObject(slotComponent, root, {width: width ?? root.width, placementKey: key})
            const carousel = findChild(slot.view, "carousel")
            tryVerify(() => carousel.present)
            tryVerify(() => red(slot.view, slot.width / 2, slot.view.height / 2) < 0.1)  // the picture, not the gray
            return slot.view
        }

        function red(view, x, y) {
            const point = view.mapToItem(root, x, y)
            return grabImage(root).pixel(point.x, point.y).r
        }

        function drag(view, dx, dy) {
            const x = view.width / 2
            const y = view.height / 2
            mousePress(view, x, y)
            for (let step = 1; step <= 4; ++step)
                mouseMove(view, x + dx * step / 4, y + dy * step / 4, 16)
            mouseRelease(view, x + dx, y + dy, Qt.LeftButton, Qt.NoModifier, 16)
        }

        function test_cardHeight_data() {
            return [
                {tag: "fixed 180 at 240", fields: {layoutMode: "FIXED_HEIGHT", fixedHeight: 180}, width: 240, height: 180},
                {tag: "fixed, no height: square", fields: {layoutMode: "FIXED_HEIGHT"}, width: 240, height: 240},
                {tag: "2:1 at 400", fields: {layoutMode: "ASPECT_RATIO", aspectRatio: "2:1"}, width: 400, height: 200},
                {tag: "auto at 240", fields: {}, width: 240, height: 135},
            ]
        }

        // The slot is as high as the card, whose picture reaches its bottom edge and no further.
        function test_cardHeight(data) {
            const view = show([banner("STATIC", [item({})], data.fields)], data.width)
            compare(view.width, data.width)
            compare(view.height, data.height)
            const bottom = view.mapToItem(root, data.width / 2, data.height - 2)
            const below = view.mapToItem(root, data.width / 2, data.height + 2)
            verify(Qt.colorEqual(grabImage(root).pixel(bottom.x, bottom.y), "blue"))
            verify(!Qt.colorEqual(grabImage(root).pixel(below.x, below.y), "blue"))
        }

        // Three dots on the dark capsule, centred 16 above the bottom: 5, 12 and 5 wide, the second bright.
        function test_dotsForThreeItemsAtIndexOne() {
            const view = show([banner("CAROUSEL", [item({}), item({}), item({})])])
            findChild(view, "carousel").next()
            const left = (view.width - 46) / 2 + 7
            const y = view.height - 16 - 5 - 2.5
            tryVerify(() => red(view, left + 7.5, y) < 0.05)  // the second item's picture has arrived
            const reds = [2.5, 7.5, 12.5, 19.5, 24.5, 29.5].map(x => red(view, left + x, y))
            const expected = [0.42, 0, 0.95, 0.95, 0, 0.42]
            for (let i = 0; i < reds.length; ++i)
                fuzzyCompare(reds[i], expected[i], 0.05, "x " + i)
        }

        // The third segment's brightness at a tenth, a quarter, three quarters and nine tenths of its width.
        function test_segments_data() {
            return [
                {tag: "progress 0.5", progress: 0.5, third: [0.96, 0.96, 0.34, 0.34]},
                {tag: "progress 1.3", progress: 1.3, third: [0.96, 0.96, 0.96, 0.96]},
            ]
        }

        // Four segments 10 from the top and sides, at item 2: two full, the third filling, the last empty.
        function test_segments(data) {
            const view = show([banner("STORY", [item({}), item({}), item({}), item({})])])
            const carousel = findChild(view, "carousel")
            carousel.next()
            carousel.next()
            TestSupport.setBannerProgress(carousel, data.progress)
            const width = (view.width - 20 - 3 * 4) / 4
            const at = (index, share) => red(view, 10 + index * (width + 4) + width * share, 11.5)
            const shares = [0.1, 0.25, 0.75, 0.9]
            tryVerify(() => red(view, view.width / 2, 30) < 0.05)  // the third item's picture has arrived
            tryVerify(() => data.third.every((value, i) => Math.abs(at(2, shares[i]) - value) < 0.03))
            const full = [0.96, 0.96, 0.96, 0.96]
            for (const [index, expected] of [full, full, data.third, [0.34, 0.34, 0.34, 0.34]].entries()) {
                for (const [i, share] of shares.entries())
                    fuzzyCompare(at(index, share), expected[i], 0.03, "segment " + index + " at " + share)
            }
            fuzzyCompare(red(view, view.width / 2, 8.5), 0, 0.1)  // above the row: the picture
        }

        function test_noIndicatorOnAStaticBanner() {
            const view = show([banner("STATIC", [item({}), item({}), item({})])])
            const y = view.height - 16 - 7.5
            for (let x = view.width / 2 - 30; x <= view.width / 2 + 30; x += 5)
                verify(Qt.colorEqual(grabImage(root).pixel(x, view.mapToItem(root, 0, y).y), "blue"), "x " + x)
            verify(red(view, view.width / 2, 11.5) < 0.05)
        }

        // Two banners: A with two items, B with one. Swipes go item by item across them and wrap at both ends;
        // drags of 36 or less across, more down than across, or too short to be drags do nothing.
        function test_swipesWrap() {
            const view = show([banner("CAROUSEL", [item({}), item({})]), banner("CAROUSEL", [item({})])])
            const carousel = findChild(view, "carousel")
            const steps = [
                {dx: -37, dy: 10, banner: 0, item: 1},
                {dx: -36, dy: 0, banner: 0, item: 1},
                {dx: 50, dy: -60, banner: 0, item: 1},
                {dx: -20, dy: 0, banner: 0, item: 1},
                {dx: -60, dy: 0, banner: 1, item: 0},
                {dx: -60, dy: 0, banner: 0, item: 0},
                {dx: 40, dy: 0, banner: 1, item: 0},
                {dx: 60, dy: -20, banner: 0, item: 1},
            ]
            for (const step of steps) {
                drag(view, step.dx, step.dy)
                compare([carousel.bannerIndex, carousel.itemIndex], [step.banner, step.item],
                        "after " + step.dx + ", " + step.dy)
            }
        }

        function test_tapOpensTheLink_data() {
            return [
                {tag: "click on a link", ctaType: "EXTERNAL_URL", key: false, opens: true},
                {tag: "Enter on a deep link", ctaType: "DEEP_LINK", key: true, opens: true},
                {tag: "click on a custom event", ctaType: "CUSTOM_EVENT", key: false, opens: false},
            ]
        }

        function test_tapOpensTheLink(data) {
            const link = "https://example.com/offer/" + made
            const view = show([banner("STATIC", [item({ctaType: data.ctaType, ctaUrl: link})])])
            if (data.key) {
                view.forceActiveFocus()
                verify(findChild(view, "card").activeFocus)
                keyClick(Qt.Key_Return)
            } else {
                mouseClick(view)
            }
            compare(TestSupport.openedUrls().includes(link), data.opens)
        }

        // The second item's picture is missing: it is skipped, and the third takes its place.
        function test_failingPictureIsSkipped() {
            const view = show([banner("CAROUSEL", [item({}), item({mediaUrl: TestSupport.url("/missing.png")}),
                                                   item({mediaUrl: TestSupport.url("/green.png")})])])
            const carousel = findChild(view, "carousel")
            carousel.next()
            tryVerify(() => carousel.dots.length === 2)
            compare(carousel.itemIndex, 1)
            tryVerify(() => Qt.colorEqual(grabImage(root).pixel(view.width / 2, view.height / 2), "green"))
        }
    }
}
