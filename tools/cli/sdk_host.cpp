#include "cli/sdk_host.h"

#include "model/uuid_text.h"

#include <quenmark/platform/platform.h>
#include <quenmark/sdk/story_sdk.h>

namespace quenmark::cli {

Result<SdkHost> startSdk(const GlobalOptions& options) {
  platform::DefaultPlatformOptions platformOptions;
  if (options.dataDir) platformOptions.dataDirectory = *options.dataDir;
  if (options.baseUrl) {
    auto url = Url::parse(*options.baseUrl);
    if (!url || (url->scheme() != "https" && url->scheme() != "http")) {
      return Error{ErrorKind::invalidArgument, "--base-url must be an absolute http or https URL.", 2};
    }
    platformOptions.serviceBaseUrl = *url;
  }
  if (options.deviceId && !canonicalUuid(*options.deviceId)) {
    return Error{ErrorKind::invalidArgument, "--device-id must be a UUID.", 2};
  }
  platformOptions.device.localeIdentifier = options.locale;
  platformOptions.device.regionCode = options.region;
  platformOptions.device.vendorIdentifier = options.deviceId;
  platformOptions.device.bundleIdentifier = options.bundleId;
  platformOptions.device.shortVersion = options.appVersion;

  platform::Platform platform = platform::makeDefaultPlatform(platformOptions);
  auto loop = std::dynamic_pointer_cast<platform::RunLoop>(platform.mainThread);
  platform::installPlatform(std::move(platform));

  StoryEnvironment environment =
      options.environment == "staging" ? StoryEnvironment::staging : StoryEnvironment::production;
  StorySDK::shared().configure(StoryConfiguration(options.sdkKey, options.appKey, environment, options.appId,
                                                  options.bundleId, options.userId, StoryUIStrings::defaultStrings(),
                                                  options.preview));
  return SdkHost{loop};
}

}  // namespace quenmark::cli
