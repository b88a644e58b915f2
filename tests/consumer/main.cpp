// A host program that uses only the installed headers and library.
#include <quenmark/platform/platform.h>
#include <quenmark/platform/run_loop.h>
#include <quenmark/url.h>

#include <cstdio>
#include <filesystem>
#include <memory>

int main() {
  auto url = quenmark::Url::parse("https://example.com/a");
  if (!url || url->appendingPathComponent("b c").string() != "https://example.com/a/b%20c") {
    std::puts("url mismatch");
    return 1;
  }

  quenmark::platform::DefaultPlatformOptions options;
  options.dataDirectory = std::filesystem::temp_directory_path() / "quenmark-consumer";
  auto platform = quenmark::platform::makeDefaultPlatform(options);
  auto loop = std::dynamic_pointer_cast<quenmark::platform::RunLoop>(platform.mainThread);
  if (!loop) return 1;
  quenmark::platform::installPlatform(platform);

  bool ran = false;
  loop->post([&] {
    ran = true;
    loop->stop();
  });
  loop->run();
  std::puts(ran ? "consumer ok" : "task did not run");
  return ran ? 0 : 1;
}
