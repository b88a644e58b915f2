#pragma once

#include "cli/cli_options.h"

#include <quenmark/error.h>
#include <quenmark/platform/run_loop.h>

#include <memory>

namespace quenmark::cli {

/// The SDK set up for a console process: the default platform with the command line's device values,
/// installed, and `StorySDK::shared()` configured.
struct SdkHost {
  std::shared_ptr<platform::RunLoop> loop;
};

/// Builds and installs the platform and configures the SDK. Fails on unusable option values.
Result<SdkHost> startSdk(const GlobalOptions& options);

}  // namespace quenmark::cli
