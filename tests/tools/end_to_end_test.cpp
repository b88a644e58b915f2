// The SDK end to end: the reference content service as a real process with test content and a fresh
// database, driven through the `quenmark` console host.
#include "child_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>

namespace quenmark::testsupport {
namespace {

using nlohmann::json;

const std::string kPollItem = "b1000000-0000-4000-8000-000000000001";
const std::string kTea = "c1000000-0000-4000-8000-000000000001";
const std::string kGroupA = "a1000000-0000-4000-8000-000000000001";

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenmark-e2e-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    std::filesystem::create_directories(dir_ / "media");
    server_ = std::make_unique<BackgroundProcess>(
        QUENMARK_DEVSERVER_PATH,
        std::vector<std::string>{"serve", "--content", std::string(QUENMARK_TEST_DATA_DIR) + "/tools/content.json",
                                 "--media-dir", (dir_ / "media").string(), "--db", database(), "--port", "0"});
    auto line = server_->readLine(std::chrono::seconds{20});
    ASSERT_TRUE(line) << "the service did not start";
    auto at = line->find("http://");
    ASSERT_NE(at, std::string::npos) << *line;
    baseUrl_ = line->substr(at);
  }
  void TearDown() override {
    server_.reset();
    std::filesystem::remove_all(dir_);
  }

  std::string database() const { return (dir_ / "service.sqlite3").string(); }

  ProcessResult cli(std::vector<std::string> args, const std::string& sdkKey = "e2e-sdk-key",
                    const std::string& user = "user-1") {
    std::vector<std::string> all{"--base-url", baseUrl_,  "--sdk-key", sdkKey,
                                 "--app-key",  "e2e-app", "--user-id", user};
    all.insert(all.end(), {"--bundle-id", "com.example.e2e", "--locale", "de_DE", "--region", "DE", "--data-dir",
                           (dir_ / ("sdk-" + user)).string()});
    all.insert(all.end(), args.begin(), args.end());
    return runProcess(QUENMARK_CLI_PATH, all);
  }

  /// The poll item of the feed as `stories feed --json` prints it for user-1.
  json poll() {
    json poll = json::parse(cli({"stories", "feed", "--json"}).out).at(0).at("items").at(0);
    EXPECT_EQ((std::tuple{poll["id"], poll["widgetOptions"][0]["id"]}), (std::tuple{kPollItem, kTea}));
    return poll;
  }

  /// The host events of `play --events-json` as "<event> <last two digits of the item or group id>", and the
  /// player's actions; with `withVotes` false the vote events are left out.
  static std::pair<std::vector<std::string>, std::vector<std::string>> playLog(const std::string& out,
                                                                               bool withVotes = true) {
    std::vector<std::string> events, actions;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      json record = json::parse(line);
      if (record.contains("player")) {
        actions.push_back(record["player"]);
        continue;
      }
      const std::string event = record["event"];
      if (!withVotes && (event == "pollVoted" || event == "quizAnswered")) continue;
      events.push_back(event + " " +
                       record[record.contains("itemId") ? "itemId" : "groupId"].get<std::string>().substr(34));
    }
    return {events, actions};
  }

  std::filesystem::path dir_;
  std::unique_ptr<BackgroundProcess> server_;
  std::string baseUrl_;
};

TEST_F(EndToEnd, FetchesStoriesAndBannersMappedToTheModel) {
  ProcessResult stories = cli({"stories", "feed", "--json"});
  ASSERT_EQ(stories.exitCode, 0) << stories.err;
  json groups = json::parse(stories.out);
  ASSERT_EQ(groups.size(), 2u);
  // UUIDs become lower-case text.
  EXPECT_EQ((std::tuple{groups[0]["id"], groups[0]["theme"]["progressStyle"], groups[0]["coverImageURL"],
                        groups[0]["items"][0]["widgetType"], groups[0]["items"][1]["swipeCallbackURL"],
                        groups[0]["items"][0]["widgetOptions"][0]["voteCount"]}),
            (std::tuple{kGroupA, "segmented", baseUrl_ + "/media/one.png", "POLL", "https://example.com/swiped", 3}));

  ProcessResult banners = cli({"banners", "feed", "--json"});
  ASSERT_EQ(banners.exitCode, 0) << banners.err;
  json list = json::parse(banners.out);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ((std::tuple{list[0]["id"], list[0]["type"], list[0]["items"][0]["ctaType"], list[0]["items"][0]["ctaURL"]}),
            (std::tuple{"7", "CAROUSEL", "EXTERNAL_URL", "https://example.com/deal"}));

  // A wrong SDK key reaches the caller as the status error.
  ProcessResult refused = cli({"stories", "feed"}, "not-the-key");
  EXPECT_NE(refused.exitCode, 0);
  EXPECT_EQ(refused.err, "Story request failed with status 401.\n");
  EXPECT_TRUE(refused.out.empty());
}

TEST_F(EndToEnd, AVoteIsCountedAndShowsInTheNextFetchUnlessPreviewed) {
  // Preview mode answers locally: another user's preview vote is not counted below.
  ProcessResult preview = cli({"--preview", "vote", kPollItem, kTea, "--json"}, "e2e-sdk-key", "previewer");
  ASSERT_EQ(preview.exitCode, 0) << preview.err;
  EXPECT_EQ(json::parse(preview.out), (json{{"voted", true}, {"optionId", kTea}, {"voteCount", 1}}));

  ProcessResult vote = cli({"vote", kPollItem, kTea, "--json"});
  ASSERT_EQ(vote.exitCode, 0) << vote.err;
  EXPECT_EQ(json::parse(vote.out)["voteCount"], 4);

  json mine = poll();
  EXPECT_EQ((std::tuple{mine["widgetOptions"][0]["voteCount"], mine["userVote"]["optionId"],
                        mine["userVote"].contains("votedAt")}),
            (std::tuple{4, kTea, true}));
}

TEST_F(EndToEnd, PlayReportsEveryInteractionInOrderAndTheServiceStoresThemOncePerSession) {
  ProcessResult play = cli({"play", "feed", "--group", "0", "--answer", "first", "--swipe", "--events-json"});
  ASSERT_EQ(play.exitCode, 0) << play.err << play.out;

  auto [hostEvents, playerActions] = playLog(play.out);
  // Ids are shortened to their last two digits: groups 01/02, items 01..03.
  EXPECT_EQ(hostEvents, (std::vector<std::string>{"storyGroupImpression 01", "storyGroupImpression 02", "storyOpen 01",
                                                  "storyItemImpression 01", "pollViewed 01", "pollVoted 01",
                                                  "storyItemImpression 02", "swipeUp 02", "storyCompleted 01",
                                                  "storyOpen 02", "storyItemImpression 03", "quizViewed 03",
                                                  "quizAnswered 03", "storyCompleted 02", "storyClose 02"}));
  EXPECT_EQ(playerActions.back(), "dismissed");
  EXPECT_NE(std::find(playerActions.begin(), playerActions.end(), "open https://example.com/swiped"),
            playerActions.end());

  // What the service stored: by kind, "<event type> <last two digits of the item or group id>".
  std::map<std::string, std::multiset<std::string>> stored;
  std::set<std::string> sessions;
  ProcessResult events = runProcess(QUENMARK_DEVSERVER_PATH, {"events", "--db", database()});
  ASSERT_EQ(events.exitCode, 0) << events.err;
  std::istringstream lines(events.out);
  for (std::string line; std::getline(lines, line);) {
    const json record = json::parse(line);
    const json& body = record.at("body");
    const std::string id = body.value("storyItemId", body.value("storyGroupId", std::string()));
    stored[record.at("kind")].insert(body.at("eventType").get<std::string>() + (id.empty() ? "" : " " + id.substr(34)));
    // SDK events carry the locale as "locale", analytics records as "userLanguage".
    EXPECT_EQ((std::tuple{body.at("placementKey"), body.value("locale", body.value("userLanguage", ""))}),
              (std::tuple{"feed", "de-DE"}));
    sessions.insert(body.at("sessionId").get<std::string>());
  }
  EXPECT_EQ(sessions.size(), 1u);
  EXPECT_EQ(stored["sdk_event"],
            (std::multiset<std::string>{"STORY_GROUP_IMPRESSION 01", "STORY_GROUP_IMPRESSION 02", "STORY_OPEN 01",
                                        "POLL_VIEW 01", "POLL_VOTE 01", "STORY_ITEM_VIEW 01", "SWIPE_UP 02",
                                        "STORY_ITEM_VIEW 02", "STORY_COMPLETE 01", "STORY_OPEN 02", "QUIZ_VIEW 03",
                                        "QUIZ_ANSWER 03", "STORY_ITEM_VIEW 03", "STORY_COMPLETE 02"}));
  EXPECT_EQ(
      stored["analytics"],
      (std::multiset<std::string>{"PLACEMENT_VIEWED", "STORY_GROUP_OPENED 01", "STORY_ITEM_VIEWED 01", "POLL_VIEWED 01",
                                  "POLL_VOTED 01", "STORY_ITEM_VIEWED 02", "SWIPE_UP 02", "STORY_GROUP_COMPLETED 01",
                                  "STORY_GROUP_OPENED 02", "STORY_ITEM_VIEWED 03", "QUIZ_VIEWED 03", "QUIZ_ANSWERED 03",
                                  "STORY_GROUP_COMPLETED 02", "STORY_DISMISSED 02"}));

  // The vote the player cast is stored for this user.
  json stories = poll();
  EXPECT_EQ((std::tuple{stories["widgetOptions"][0]["voteCount"], stories["userVote"]["optionId"]}),
            (std::tuple{4, kTea}));
}

TEST(CommandTimeout, ACommandEndsWithinItsTimeoutWhenTheServiceNeverAnswers) {
  // A socket that listens and never accepts: the request waits in its backlog and no answer comes.
  int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(listener, 16), 0);
  ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  auto dataDir = std::filesystem::temp_directory_path() / ("quenmark-timeout-" + std::to_string(::getpid()));

  auto started = std::chrono::steady_clock::now();
  ProcessResult stories =
      runProcess(QUENMARK_CLI_PATH,
                 {"--base-url", "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)), "--sdk-key", "key",
                  "--app-key", "app", "--data-dir", dataDir.string(), "--timeout", "1", "stories", "home"});
  auto elapsed = std::chrono::steady_clock::now() - started;
  ::close(listener);
  std::filesystem::remove_all(dataDir);
  EXPECT_EQ(stories.err, "Timed out waiting for the stories.\n");
  EXPECT_EQ(stories.exitCode, 1);
  // One second of waiting plus start-up; the request still in flight must not add its own wait.
  EXPECT_LT(elapsed, std::chrono::seconds{6});
}

TEST_F(EndToEnd, PlayGoesToTheEndThroughAProxyThatSpoilsHalfTheRequests) {
  // The bar's first load passes; after that any request may be reset, cut short, answered with garbage,
  // swamped, closed on or redirected in a loop. Faults that only wait out the 60-second timeout are left out.
  BackgroundProcess proxy(QUENMARK_CHAOS_PROXY_PATH,
                          {"--upstream", baseUrl_, "--probability", "0.5", "--seed", "3", "--pass-first", "1",
                           "--faults", "reset,garbage,truncate,oversize,close,redirect"});
  auto listening = proxy.readLine(std::chrono::seconds{20});
  ASSERT_TRUE(listening && listening->find("http://") != std::string::npos);
  baseUrl_ = listening->substr(listening->find("http://"));

  ProcessResult play = cli({"play", "feed", "--answer", "first", "--swipe", "--events-json"});
  ASSERT_EQ(play.exitCode, 0) << play.err << play.out;
  // Votes may fail; what the viewer plays may not.
  auto [playback, actions] = playLog(play.out, false);
  EXPECT_EQ(playback,
            (std::vector<std::string>{"storyGroupImpression 01", "storyGroupImpression 02", "storyOpen 01",
                                      "storyItemImpression 01", "pollViewed 01", "storyItemImpression 02", "swipeUp 02",
                                      "storyCompleted 01", "storyOpen 02", "storyItemImpression 03", "quizViewed 03",
                                      "storyCompleted 02", "storyClose 02"}));
  EXPECT_EQ(actions.back(), "dismissed");

  int spoiled = 0;
  while (auto line = proxy.readLine(std::chrono::milliseconds{500})) spoiled += !line->ends_with(" pass");
  EXPECT_GT(spoiled, 0);
}

}  // namespace
}  // namespace quenmark::testsupport
