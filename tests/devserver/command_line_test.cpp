#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <tuple>

#include "devserver/command_line.h"
#include "devserver/event_log.h"
#include "devserver/signal_watcher.h"
#include "devserver_fixture.h"

namespace quenmark::devserver::testing {
namespace {

TEST(CommandLine, ServeArgumentsTakeBothSpellingsAndRefuseWhatCannotWork) {
  auto settings = parseServeArguments({"--content", "c.json", "--port=0", "--db", "x.db", "--media-dir=m", "--quiet"});
  ASSERT_TRUE(settings) << settings.error();
  const auto& s = settings.value();
  EXPECT_EQ((std::tuple{s.contentFile, s.port, s.databaseFile, s.mediaDir, s.host, s.quiet}),
            (std::tuple{"c.json", 0, "x.db", "m", "127.0.0.1", true}));

  auto defaults = parseServeArguments({"--content", "c.json"});
  ASSERT_TRUE(defaults);
  EXPECT_EQ((std::tuple{defaults.value().databaseFile, defaults.value().port}), (std::tuple{kDefaultDatabase, 8080}));

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {},
           {"--port", "0"},
           {"--content"},
           {"--content", "c.json", "--port", "65536"},
           {"--content", "c.json", "--port", "-1"},
           {"--content", "c.json", "--port", "80x"},
           {"--content", "c.json", "--cert", "cert.pem"},
           {"--content", "c.json", "--verbose"},
           {"--content=", "c.json"},
       }) {
    EXPECT_FALSE(parseServeArguments(bad)) << ::testing::PrintToString(bad);
  }
  EXPECT_TRUE(parseEventsArguments({"--db=x.db", "--follow"}));
  EXPECT_FALSE(parseEventsArguments({"--tail"}));
}

TEST(CommandLine, HelpDocumentsEveryOptionAndWrongUseExitsWithTwo) {
  std::ostringstream out, err;
  EXPECT_EQ(runCommandLine({"--help"}, out, err), 0);
  for (const char* option : {"--content", "--db", "--host", "--port", "--media-dir", "--cert", "--key", "--quiet",
                             "--follow", "X-Talewyn-SDK-Key", "Listening on"}) {
    EXPECT_NE(out.str().find(option), std::string::npos) << option;
  }
  EXPECT_EQ(runCommandLine({}, out, err), 2);
  EXPECT_EQ(runCommandLine({"launch"}, out, err), 2);
  EXPECT_EQ(runCommandLine({"serve", "--port", "1"}, out, err), 2);
}

TEST(CommandLine, EventsPrintsTheStoredEventsAsJsonLines) {
  TemporaryDirectory directory;
  auto database = directory.path() / "events.db";
  {
    std::ostringstream out, err;
    EXPECT_EQ(runCommandLine({"events", "--db", database.string()}, out, err), 1);
    EXPECT_NE(err.str().find("no database"), std::string::npos);
  }
  {
    auto store = DevStore::open(database);
    ASSERT_TRUE(store);
    ASSERT_TRUE(
        store.value()->addEvent("sdk_event", "demo-app", "2026-01-31T09:05:00Z", R"({"eventType":"SWIPE_UP"})"));
    ASSERT_TRUE(
        store.value()->addEvent("analytics", "demo-app", "2026-01-31T09:05:02Z", R"({"eventType":"POLL_VOTED"})"));
    // A row that is not JSON (the database file was edited by hand) is printed as text.
    ASSERT_TRUE(store.value()->addEvent("analytics", "demo-app", "2026-01-31T09:05:03Z", "{not json"));
  }
  std::ostringstream out, err;
  ASSERT_EQ(runCommandLine({"events", "--db", database.string()}, out, err), 0) << err.str();
  EXPECT_EQ(
      out.str(),
      R"({"appKey":"demo-app","body":{"eventType":"SWIPE_UP"},"id":1,"kind":"sdk_event","receivedAt":"2026-01-31T09:05:00Z"})"
      "\n"
      R"({"appKey":"demo-app","body":{"eventType":"POLL_VOTED"},"id":2,"kind":"analytics","receivedAt":"2026-01-31T09:05:02Z"})"
      "\n"
      R"({"appKey":"demo-app","id":3,"kind":"analytics","rawBody":"{not json","receivedAt":"2026-01-31T09:05:03Z"})"
      "\n");
}

TEST(CommandLine, ServeRefusesBrokenContentBeforeListening) {
  TemporaryDirectory directory;
  auto content = directory.path() / "content.json";
  std::ofstream(content)
      << R"({"apps": {"app": {"sdkKey": "key", "placements": {"home": {"stories": [{"id": "x"}]}}}}})";
  std::ostringstream out, err;
  EXPECT_EQ(runCommandLine({"serve", "--content", content.string(), "--db", (directory.path() / "d.db").string(),
                            "--port", "0", "--quiet"},
                           out, err),
            1);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("stories[0].id"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace quenmark::devserver::testing

namespace quenmark::devserver::testing {
namespace {

TEST(SignalWatcher, SigtermStopsAServerStartedUnderTheWatcher) {
  TemporaryDirectory directory;
  auto server = serverWithoutApps(directory);
  StopSignal stopped;
  {
    // As in `serve`: the watcher first, so that the server's threads leave SIGTERM to it.
    SignalWatcher watcher([&] {
      server->stop();
      stopped.raise();
    });
    ASSERT_TRUE(server->start());
    httplib::Client client("127.0.0.1", server->port());
    ASSERT_TRUE(client.Get("/media/stories/vote-next-dish.jpg"));
    ASSERT_EQ(kill(getpid(), SIGTERM), 0);
    ASSERT_TRUE(stopped.waitFor(std::chrono::seconds(10)));
  }
  httplib::Client after("127.0.0.1", server->port());
  after.set_connection_timeout(std::chrono::seconds(2));
  EXPECT_FALSE(after.Get("/media/stories/vote-next-dish.jpg"));
}

}  // namespace
}  // namespace quenmark::devserver::testing
