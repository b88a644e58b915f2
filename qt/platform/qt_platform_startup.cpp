// Linked, as an object file, into every binary that links Quenmark::Quick (the host, the QML plugin, the
// tests), so that a static or as-needed link cannot drop it: while the QGuiApplication is constructed it
// installs the Qt platform, unless the host installed a platform of its own before, so that the platform
// is in place when the host calls StorySDK::configure.
#include <quenmark/platform/platform.h>
#include <quenmark/qt/qt_platform.h>

#include <QCoreApplication>

namespace {

void installQtPlatform() {
  if (!quenmark::platform::isPlatformInstalled()) quenmark::platform::installPlatform(quenmark::qt::makeQtPlatform());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installQtPlatform)
