#include "platform/sqlite_key_value_store.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <tuple>

namespace quenmark::platform {
namespace {

class SqliteKeyValueStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenmark-kv-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path file() const { return dir_ / "defaults.sqlite3"; }
  std::filesystem::path dir_;
};

TEST_F(SqliteKeyValueStoreTest, ValuesSurviveReopeningAndReadsSeeWritesAtOnce) {
  {
    SqliteKeyValueStore store(file());
    EXPECT_FALSE(store.recovery());
    EXPECT_FALSE(store.get("talewyn_anonymous_user_id"));
    store.set("talewyn_anonymous_user_id", "ABC");
    store.set("quenmark_widget_vote:app:user:item", "option-1");
    store.set("quenmark_widget_vote:app:user:item", "option-2");
    store.set("gone", "x");
    store.remove("gone");
    store.set("unicode", "ünïcödé \"quoted\" ' ;--");
    EXPECT_EQ(store.get("quenmark_widget_vote:app:user:item"), "option-2");
    EXPECT_FALSE(store.get("gone"));
  }  // the destructor flushes
  SqliteKeyValueStore reopened(file());
  EXPECT_FALSE(reopened.recovery());
  EXPECT_EQ((std::tuple{reopened.get("talewyn_anonymous_user_id"), reopened.get("quenmark_widget_vote:app:user:item"),
                        reopened.get("unicode"), reopened.get("gone")}),
            (std::tuple{"ABC", "option-2", "ünïcödé \"quoted\" ' ;--", std::nullopt}));
  EXPECT_FALSE(reopened.lastWriteError());
}

TEST_F(SqliteKeyValueStoreTest, ACorruptFileIsSetAsideAndReplaced) {
  {
    std::ofstream garbage(file(), std::ios::binary);
    garbage << std::string(8192, '\x5a') << "this is not a database";
  }
  SqliteKeyValueStore store(file());
  ASSERT_TRUE(store.recovery());
  EXPECT_EQ(store.recovery()->kind, ErrorKind::storage);
  EXPECT_NE(store.recovery()->description.find("moved to"), std::string::npos) << store.recovery()->description;

  store.set("k", "v");
  store.flush();
  EXPECT_FALSE(store.lastWriteError());

  int asideFiles = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    if (entry.path().filename().string().find(".corrupt-") != std::string::npos) {
      ++asideFiles;
      EXPECT_GT(std::filesystem::file_size(entry.path()), 8000u) << "the old bytes are kept, not deleted";
    }
  }
  EXPECT_EQ(asideFiles, 1);
  SqliteKeyValueStore reopened(file());
  EXPECT_FALSE(reopened.recovery());
  EXPECT_EQ(reopened.get("k"), "v");
}

TEST_F(SqliteKeyValueStoreTest, AnUnusableLocationStillWorksInMemory) {
  std::filesystem::create_directories(file());  // a directory where the file should be
  SqliteKeyValueStore store(file());
  ASSERT_TRUE(store.recovery());
  store.set("k", "v");
  EXPECT_EQ(store.get("k"), "v");
  store.flush();
}

}  // namespace
}  // namespace quenmark::platform
