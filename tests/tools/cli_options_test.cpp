#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quenmark::cli {
namespace {

TEST(CommandLine, ParsesGlobalOptionsAnywhereAndCommandOptions) {
  auto parsed = parseCommandLine({"--sdk-key", "k", "play", "home", "--app-key", "a", "--group", "2", "--answer",
                                  "last", "--swipe", "--events-json", "--preview", "--environment", "staging",
                                  "--locale", "pt_BR", "--device-id", "6F9619FF-8B86-D011-B42D-00C04FC964FF"});
  ASSERT_TRUE(parsed) << parsed.error().description;
  const auto& [global, command] = parsed.value();
  EXPECT_EQ((std::tuple{global.sdkKey, global.appKey, global.environment, global.preview, global.locale}),
            (std::tuple{"k", "a", "staging", true, "pt_BR"}));
  EXPECT_EQ((std::tuple{command.name, command.arguments, command.group, command.answer.kind, command.swipe,
                        command.eventsJson}),
            (std::tuple{"play", std::vector<std::string>{"home"}, 2, Answer::Kind::last, true, true}));

  auto indexAnswer = parseCommandLine({"play", "p", "--answer", "1"});
  ASSERT_TRUE(indexAnswer);
  EXPECT_EQ((std::tuple{indexAnswer->command.answer.kind, indexAnswer->command.answer.index}),
            (std::tuple{Answer::Kind::index, 1}));
}

TEST(CommandLine, RefusesMalformedInvocationsWithAMessage) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"stories"},
           {"stories", "a", "b"},
           {"vote", "item"},
           {"unknown"},
           {"stories", "p", "--bogus"},
           {"stories", "p", "--base-url"},
           {"play", "p", "--group", "-1"},
           {"play", "p", "--group", "x"},
           {"play", "p", "--answer", "sometimes"},
           {"stories", "p", "--environment", "qa"},
       }) {
    auto parsed = parseCommandLine(args);
    EXPECT_TRUE(!parsed && !parsed.error().description.empty()) << ::testing::PrintToString(args);
  }
  auto help = parseCommandLine({"stories", "--help"});
  ASSERT_TRUE(help);
  EXPECT_EQ(help->command.name, "help");
}

}  // namespace
}  // namespace quenmark::cli
