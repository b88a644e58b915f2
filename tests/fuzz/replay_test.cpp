// Replays every committed fuzz input, seed corpora and regressions alike, through its target without
// libFuzzer. Each target is one test; a directory without a target, or a target without inputs, fails.
#include "fuzz_target.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace quenmark::fuzz {
namespace {

std::map<std::string, Entry>& targets() {
  static std::map<std::string, Entry> registry;
  return registry;
}

const std::filesystem::path kInputs = QUENMARK_FUZZ_INPUT_DIR;

std::set<std::string> targetNames() {
  std::set<std::string> names;
  for (const auto& [name, entry] : targets()) names.insert(name);
  return names;
}

class Replay : public ::testing::TestWithParam<std::string> {};

TEST_P(Replay, EveryCommittedInput) {
  const Entry entry = targets().at(GetParam());
  int replayed = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const auto dir = kInputs / kind / GetParam();
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& file : std::filesystem::directory_iterator(dir)) {
      std::ifstream in(file.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      SCOPED_TRACE(file.path().string());
      entry(bytes);
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0) << "no committed inputs for " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Replay, ::testing::ValuesIn(targetNames()), [](const auto& test) { return test.param; });

TEST(FuzzInputs, EveryDirectoryBelongsToATarget) {
  for (const char* kind : {"corpus", "regressions"}) {
    if (!std::filesystem::is_directory(kInputs / kind)) continue;
    for (const auto& dir : std::filesystem::directory_iterator(kInputs / kind)) {
      const std::string name = dir.path().filename().string();
      // Targets of tools this build leaves out (the reference service) have inputs but no entry here.
      const bool unbuilt = std::string_view(QUENMARK_FUZZ_UNBUILT).find("," + name + ",") != std::string_view::npos;
      EXPECT_TRUE(unbuilt || targets().count(name)) << dir.path();
    }
  }
}

}  // namespace

bool registerTarget(const char* name, Entry entry) {
  targets().emplace(name, entry);
  return true;
}

}  // namespace quenmark::fuzz
