// A host program that uses only the installed headers and library: it configures the SDK on the default
// platform, receives an event from a story bar whose load fails, and checks the public values.
#include <quenmark/quenmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

using namespace quenmark;

static int failed(const char* what) {
  std::printf("consumer check failed: %s\n", what);
  return 1;
}

int main() {
  auto url = Url::parse("https://example.com/a");
  if (!url || url->appendingPathComponent("b c").string() != "https://example.com/a/b%20c") return failed("url");

  platform::DefaultPlatformOptions options;
  options.dataDirectory = std::filesystem::temp_directory_path() / "quenmark-consumer";
  options.serviceBaseUrl = Url::parse("http://127.0.0.1:9");  // nothing listens there
  options.device.localeIdentifier = "en_GB";
  auto platform = platform::makeDefaultPlatform(options);
  auto loop = std::dynamic_pointer_cast<platform::RunLoop>(platform.mainThread);
  if (!loop) return failed("default main thread");
  platform::installPlatform(platform);

  StorySDK& sdk = StorySDK::shared();
  sdk.configure(StoryConfiguration("sdk-key", "app-key", StoryEnvironment::production, std::nullopt, std::nullopt,
                                   std::nullopt, StoryUIStrings::defaultStrings(), false));
  if (!sdk.configuration() || sdk.configuration()->apiKey() != "sdk-key") return failed("configuration");
  if (std::string(SDK_VERSION) != "1.0.0") return failed("version");

  // A vote against a service that is not there fails with an error value, on the main thread.
  bool voteAnswered = false;
  sdk.recordVote("item", "option", [&](Result<VoteResponse> result) { voteAnswered = !result.ok(); });
  loop->runUntil([&] { return voteAnswered; }, std::chrono::seconds{30});
  if (!voteAnswered) return failed("vote completion");

  auto theme = StoryTheme::defaultTheme();
  if (!(theme == StoryTheme::defaultTheme())) return failed("theme equality");
  auto encoded = encodeJson(WidgetUserVote("option", std::chrono::system_clock::time_point{}));
  if (!encoded || encoded.value().find("1970-01-01T00:00:00Z") == std::string::npos) return failed("json");

  auto bar = StoryBarViewModel::create("home");
  bar->load();
  loop->runUntil([&] { return !bar->isLoading(); }, std::chrono::seconds{30});
  if (bar->isLoading() || !bar->groups().empty()) return failed("bar load");

  std::puts("consumer ok");
  return 0;
}
