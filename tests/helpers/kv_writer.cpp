// A host process that keeps writing votes through the real SQLite store until it is killed.
//
// Usage: quenmark_kv_writer <data directory> <first write number>
//
// It configures the SDK without a user id, so that its vote keys carry the anonymous id, prints
// "id <anonymous id>" once that id is on disk, then writes votes in batches and prints "confirmed <n>"
// each time `flush` has returned for every write up to number n. Write n stores `voteValue(n)` under the
// vote key of item "item-<n % kItems>".
#include <quenmark/platform/platform.h>
#include <quenmark/sdk/story_sdk.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "kv_writer_values.h"

int main(int argc, char** argv) {
  using namespace quenmark;
  if (argc != 3) {
    std::fprintf(stderr, "usage: quenmark_kv_writer <data directory> <first write number>\n");
    return 2;
  }
  platform::DefaultPlatformOptions options;
  options.dataDirectory = argv[1];
  platform::installPlatform(platform::makeDefaultPlatform(options));
  StorySDK& sdk = StorySDK::shared();
  sdk.configure(StoryConfiguration("sdk-key", "app-key", StoryEnvironment::production, std::nullopt, std::nullopt,
                                   std::nullopt, StoryUIStrings::defaultStrings(), false));
  auto store = platform::currentPlatform()->store;
  store->flush();
  std::printf("id %s\n", sdk.anonymousUserId().c_str());
  std::fflush(stdout);

  for (long n = std::atol(argv[2]);; ++n) {
    store->set(sdk.voteStorageKey(killedwriter::itemFor(n)), killedwriter::voteValue(n));
    if (n % killedwriter::kBatch == killedwriter::kBatch - 1) {
      store->flush();
      std::printf("confirmed %ld\n", n);
      std::fflush(stdout);
    }
  }
}
