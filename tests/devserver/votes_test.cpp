#include <tuple>

#include "devserver/record_check.h"
#include "devserver_fixture.h"

namespace quenmark::devserver::testing {
namespace {

constexpr const char* kPollItem = "7e0b3f1a-5c2d-4a8e-b6f4-100000000004";
constexpr const char* kDarkTheme = "c3a10000-0000-4000-8000-000000000041";  // starts at 30 votes
constexpr const char* kWidgets = "C3A10000-0000-4000-8000-000000000042";    // starts without a count

std::string voteBody(const std::string& option, const std::string& userId = "") {
  nlohmann::json body{{"optionId", option}, {"appId", "com.example.app"}};
  if (!userId.empty()) body["userId"] = userId;
  return body.dump();
}

/// Counts of Dark theme and Widgets, and the option of the user's own vote (null without one).
using Poll = std::tuple<nlohmann::json, nlohmann::json, nlohmann::json>;

class VoteTest : public DevServerTest {
 protected:
  /// The poll item of the home placement as `user` sees it.
  Poll pollFor(const std::string& user) {
    auto [status, body] = get(storiesPath(), headers(user));
    EXPECT_EQ(status, 200);
    const auto& item = body["groups"][1]["items"][0];
    const auto& options = item["widgetOptions"];
    EXPECT_EQ((std::tuple{options[1]["id"], options[2]["id"]}), (std::tuple{kDarkTheme, kWidgets}));
    return {options[1].value("voteCount", nlohmann::json()), options[2].value("voteCount", nlohmann::json()),
            item.contains("userVote") ? item["userVote"]["optionId"] : nlohmann::json()};
  }
};

TEST_F(VoteTest, AVoteIsAnsweredWithTheNewCountAndShowsInTheVotersNextStories) {
  // The option is named in lower case, the item in upper case: UUIDs match regardless of case.
  auto [status, answer] =
      post(votePath("7E0B3F1A-5C2D-4A8E-B6F4-100000000004"), voteBody(identifierKey(kWidgets)), headers("user-1"));
  ASSERT_EQ(status, 200) << answer;
  EXPECT_EQ(answer, nlohmann::json({{"voted", true}, {"optionId", kWidgets}, {"voteCount", 1}}));
  EXPECT_EQ(pollFor("user-1"), Poll(30, 1, kWidgets));
  auto [stories, body] = get(storiesPath(), headers("user-1"));
  const auto& vote = body["groups"][1]["items"][0]["userVote"];
  EXPECT_TRUE(isInternetDateTime(vote["votedAt"].get<std::string>())) << vote;
  // Another user sees the count but no vote of their own; so does a request without a user.
  EXPECT_EQ(pollFor("user-2"), Poll(30, 1, nullptr));
  EXPECT_EQ(pollFor(""), Poll(30, 1, nullptr));
}

TEST_F(VoteTest, EachUserHasOneVotePerItemALaterVoteReplacesTheEarlierOneAndVotesSurviveARestart) {
  EXPECT_EQ(post(votePath(kPollItem), voteBody(kDarkTheme), headers("user-1")).second["voteCount"], 31);
  EXPECT_EQ(post(votePath(kPollItem), voteBody(kDarkTheme), headers("user-1")).second["voteCount"], 31);
  EXPECT_EQ(post(votePath(kPollItem), voteBody(kWidgets), headers("user-1")).second["voteCount"], 1);
  EXPECT_EQ(post(votePath(kPollItem), voteBody(kWidgets), headers("user-2")).second["voteCount"], 2);
  EXPECT_EQ(pollFor("user-1"), Poll(30, 2, kWidgets));

  // Votes on another item are separate: the same user votes in the quiz too.
  auto [quizStatus, quiz] = post(votePath("7e0b3f1a-5c2d-4a8e-b6f4-100000000006"),
                                 voteBody("c3a10000-0000-4000-8000-000000000062"), headers("user-1"));
  EXPECT_EQ((std::tuple{quizStatus, quiz["voteCount"]}), (std::tuple{200, 10}));
  EXPECT_EQ(pollFor("user-1"), Poll(30, 2, kWidgets));

  // Votes survive a restart on the same database.
  client.reset();
  server.reset();
  store.reset();
  startServer(ServerOptions{});
  EXPECT_EQ(pollFor("user-1"), Poll(30, 2, kWidgets));
}

TEST_F(VoteTest, TheBodysUserIdStandsInForAMissingHeaderAndVotesWithoutAUserEachCount) {
  auto noUser = headers();
  EXPECT_EQ(post(votePath(kPollItem), voteBody(kWidgets, "body-user"), noUser).second["voteCount"], 1);
  EXPECT_EQ(post(votePath(kPollItem), voteBody(kDarkTheme, "body-user"), noUser).second["voteCount"], 31);
  // The header wins over the body.
  post(votePath(kPollItem), voteBody(kWidgets, "body-user"), headers("header-user"));
  EXPECT_EQ(pollFor("header-user"), Poll(31, 1, kWidgets));
  EXPECT_EQ(pollFor("body-user"), Poll(31, 1, kDarkTheme));

  EXPECT_EQ(post(votePath(kPollItem), voteBody(kWidgets), noUser).second["voteCount"], 2);
  EXPECT_EQ(post(votePath(kPollItem), voteBody(kWidgets), noUser).second["voteCount"], 3);
}

TEST_F(VoteTest, BadVoteBodiesAre400AndUnknownOptionsAre404AndNothingIsStored) {
  post(votePath(kPollItem), voteBody(kDarkTheme), headers("user-1"));
  std::vector<std::string> badBodies = {
      "",
      "not json",
      "[\"" + std::string(kWidgets) + "\"]",
      "{}",
      R"({"optionId": null})",
      R"({"optionId": 42})",
      R"({"optionId": 123456789012345678901234567890})",
      R"({"optionId": 1e999999})",
      R"({"optionId": "   "})",
      R"({"optionId": ")" + std::string(kWidgets) + R"(", "userId": 7})",
      R"({"optionId": ")" + std::string(kWidgets) + R"(", "appId": ["x"]})",
      std::string(R"({"optionId": ")") + "\xff\xfe" + R"("})",
      std::string(200, '[') + std::string(200, ']'),
  };
  for (const auto& body : badBodies) {
    auto [status, answer] = post(votePath(kPollItem), body, headers("user-1"));
    EXPECT_EQ(status, 400) << body;
    EXPECT_TRUE(answer.is_object() && answer["error"].is_string()) << body;
  }
  // An option of another item, and an item without options.
  EXPECT_EQ(post(votePath(kPollItem), voteBody("c3a10000-0000-4000-8000-000000000062"), headers("user-1")).first, 404);
  EXPECT_EQ(post(votePath("7e0b3f1a-5c2d-4a8e-b6f4-100000000001"), voteBody(kWidgets), headers("user-1")).first, 404);

  EXPECT_EQ(pollFor("user-1"), Poll(31, nullptr, kDarkTheme));
  auto counts = store->voteCounts(kApp);
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts.value().size(), 1u);
}

}  // namespace
}  // namespace quenmark::devserver::testing
