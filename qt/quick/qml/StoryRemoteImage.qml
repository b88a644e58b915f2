pragma ComponentBehavior: Bound
import QtQuick
import Quenmark.Stories

// A remote picture: the placeholder while it loads (or without a URL) and after a failure, then the
// picture, scaled to fit or to fill this item and clipped to it, its corners rounded by `radius`. A new
// URL shows the placeholder again until its own picture arrives; a picture for an earlier URL never shows.
Item {
    id: root

    enum ContentMode { Fit, Fill }

    // The picture's absolute URL; empty shows the placeholder and reports nothing.
    property url url
    property int contentMode: StoryRemoteImage.Fill
    // Rounds the picture's corners; the placeholder draws its own shape.
    property real radius: 0
    // Shown, stretched over this item, whenever no picture is.
    property Component placeholder

    // The picture for the current URL arrived.
    signal loaded()
    // The current URL gave no picture (once per load; a new URL or a new view loads again).
    signal failed()

    Loader {
        objectName: "placeholder"
        anchors.fill: parent
        active: root.radius > 0 ? !rounded.hasPicture : picture.status !== Image.Ready
        sourceComponent: root.placeholder
    }

    Image {
        id: picture

        objectName: "picture"
        anchors.fill: parent
        visible: status === Image.Ready
        source: root.radius > 0 ? "" : model.source
        // Qt 6.4's type information has no QSize, so qmllint cannot resolve this property.
        sourceSize: Qt.size(root.width, root.height) // qmllint disable type
        fillMode: root.contentMode === StoryRemoteImage.Fit ? Image.PreserveAspectFit : Image.PreserveAspectCrop
        clip: true
        // The pipeline's byte-bounded cache is the one that keeps pictures; Qt's would hold them longer.
        cache: false
        smooth: true
    }

    // Qt Quick clips to rectangles only on the software renderer: rounded pictures are painted.
    RoundedPicture {
        id: rounded

        objectName: "roundedPicture"
        anchors.fill: parent
        visible: root.radius > 0
        model: root.radius > 0 ? model : null
        radius: root.radius
        fill: root.contentMode === StoryRemoteImage.Fill
    }

    // Last, so that it completes first: a picture in memory is the Image's source before the Image
    // completes, so it loads at once and the placeholder is never made for it.
    RemoteImageModel {
        id: model

        url: root.url
        onLoaded: root.loaded()
        onFailed: root.failed()
    }
}
