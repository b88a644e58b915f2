#pragma once

#include <quenmark/export.h>
#include <quenmark/platform/platform.h>

namespace quenmark::qt {

/// The SDK's platform on a Qt application.
///
/// Main-thread tasks are queued to the GUI thread and timers are Qt timers there; fonts come from
/// `QFontDatabase` (application fonts included) and URLs open through `QDesktopServices`. The HTTP session,
/// the key-value store, the device information and the console are those of the default platform, made
/// with `options`. Making it also starts announcing the application's state (active, inactive, hidden) to
/// `ApplicationActivity::shared()`, once per application.
///
/// A host linking `Quenmark::Quick` does not need to call this: the Qt platform is installed while the
/// `QGuiApplication` is constructed, unless the host installed a platform of its own before. A host that
/// wants other options installs it itself, after constructing its `QGuiApplication` and before
/// `StorySDK::configure`:
///
///     quenmark::platform::installPlatform(quenmark::qt::makeQtPlatform(options));
///
/// Call on the GUI thread, with the application constructed.
QUENMARK_EXPORT platform::Platform makeQtPlatform(const platform::DefaultPlatformOptions& options = {});

}  // namespace quenmark::qt
