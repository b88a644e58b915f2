// A host killed at any moment keeps every vote that `flush` confirmed, whole, and its anonymous id.
#include "child_process.h"
#include "kv_writer_values.h"

#include "platform/sqlite_key_value_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <random>

namespace quenmark::platform {
namespace {

using namespace killedwriter;

TEST(KilledWriter, KeepsEveryConfirmedVoteWholeAndTheAnonymousIdThroughSigkills) {
  const auto dir = std::filesystem::temp_directory_path() / ("quenmark-killed-writer-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::mt19937 random(16);  // a fixed seed: the same kill points on every run
  std::optional<std::string> anonymousId;
  std::map<long, long> confirmedByItem;  // item number -> last write to it that a flush confirmed
  long next = 0;                         // write numbers go on across runs, so every value is unique

  for (int run = 0; run < 20; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    testsupport::BackgroundProcess writer(QUENMARK_KV_WRITER_PATH, {dir.string(), std::to_string(next)});
    // 0: killed while it opens the store and configures; otherwise after that many confirmations.
    const int confirmations = std::uniform_int_distribution<int>(0, 4)(random);
    for (int seen = 0; confirmations > 0 && seen < confirmations;) {
      auto line = writer.readLine(std::chrono::seconds{30});
      ASSERT_TRUE(line) << "the writer stopped talking";
      if (line->rfind("id ", 0) == 0) {
        if (!anonymousId) anonymousId = line->substr(3);
        EXPECT_EQ(line->substr(3), *anonymousId) << "the anonymous id changed";
      } else if (line->rfind("confirmed ", 0) == 0) {
        const long upTo = std::stol(line->substr(10));
        for (long n = std::max(next, upTo - kItems + 1); n <= upTo; ++n) confirmedByItem[n % kItems] = n;
        next = upTo + 1;
        ++seen;
      }
    }
    writer.kill();

    SqliteKeyValueStore store(dir / "defaults.sqlite3");
    ASSERT_FALSE(store.recovery()) << store.recovery()->description;
    const auto storedId = store.get("talewyn_anonymous_user_id");
    if (anonymousId) {
      ASSERT_EQ(storedId, anonymousId);
    }
    for (const auto& [item, confirmed] : confirmedByItem) {
      ASSERT_TRUE(storedId);
      const auto value = store.get("quenmark_widget_vote:app-key:" + *storedId + ":" + itemFor(item));
      ASSERT_TRUE(value) << "the confirmed vote on " << itemFor(item) << " is gone";
      const long n = writeNumberOf(*value);
      // A later, unconfirmed write may have landed too; an older one means a confirmed write was lost.
      EXPECT_GE(n, confirmed);
      EXPECT_EQ(n % kItems, item);
      EXPECT_EQ(*value, voteValue(n)) << "a torn value";
    }
    // The next run starts past every number this one may have written without confirming.
    next += 100000;
  }
  EXPECT_TRUE(anonymousId);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quenmark::platform
