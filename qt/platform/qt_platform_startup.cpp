// Linked, as an object file, into every binary that links Quenmark::Quick (the host, the QML plugin, the
// tests), so that a static or as-needed link cannot drop it: while the QGuiApplication is constructed it
// installs the Qt platform, unless the host installed a platform of its own before, so that the platform
// is in place when the host calls StorySDK::configure. It also picks the media backend story videos play
// with, before any QML engine makes a multimedia object.
#include <quenmark/platform/platform.h>
#include <quenmark/qt/qt_platform.h>

#include <QCoreApplication>

namespace {

void installQtPlatform() {
  if (!quenmark::platform::isPlatformInstalled()) quenmark::platform::installPlatform(quenmark::qt::makeQtPlatform());
}

// Qt's FFmpeg backend plays videos with what libqt6multimedia6 ships; Debian's default GStreamer backend
// crashes on play when its plugins are missing. A host's own choice (QT_MEDIA_BACKEND) stays.
void selectMediaBackend() {
  if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installQtPlatform)
Q_COREAPP_STARTUP_FUNCTION(selectMediaBackend)
