#include <quenmark/qt/qt_platform.h>

#include "application_state_forwarder.h"
#include "qt_main_thread.h"
#include "qt_system_services.h"

#include <memory>

namespace quenmark::qt {

platform::Platform makeQtPlatform(const platform::DefaultPlatformOptions& options) {
  platform::Platform platform = platform::makeDefaultPlatform(options);
  platform.mainThread = std::make_shared<QtMainThread>();
  platform.fonts = std::make_shared<QtFontCatalog>();
  platform.urlOpener = std::make_shared<DesktopUrlOpener>();
  ApplicationStateForwarder::forwardApplicationState();
  return platform;
}

}  // namespace quenmark::qt
