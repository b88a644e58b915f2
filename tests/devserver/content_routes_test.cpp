#include <fstream>
#include <sstream>

#include "devserver_fixture.h"

namespace quenmark::devserver::testing {
namespace {

TEST_F(DevServerTest, StoriesAreServedAsWrittenWithMediaUrlsOnTheServersOrigin) {
  auto [status, body] = get(storiesPath(), headers("user-1"));
  ASSERT_EQ(status, 200);
  const auto& groups = body["groups"];
  ASSERT_EQ(groups.size(), 6u);
  // Ids keep the letter case of the content file; the SDK lower-cases them.
  EXPECT_EQ(groups[0]["id"], "8F14E45F-CEEA-467F-A0E6-7B7C1F1C0A01");
  EXPECT_EQ(groups[0]["theme"]["progressStyle"], "BAR");
  std::string mediaUrl = groups[0]["items"][0]["media"]["mediaUrl"];
  EXPECT_EQ(mediaUrl, server->origin() + "/media/stories/spring-menu.jpg");
  EXPECT_TRUE(groups[5]["items"].empty());

  const auto& poll = groups[1]["items"][0];
  EXPECT_FALSE(poll.contains("userVote"));
  EXPECT_EQ(poll["widgetOptions"][0]["voteCount"], 12);
  // An option the file gives no count stays without one until someone votes for it.
  EXPECT_FALSE(poll["widgetOptions"][2].contains("voteCount"));

  // The media the content refers to is served.
  auto image = client->Get("/media/stories/spring-menu.jpg");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->status, 200);
  EXPECT_EQ(image->get_header_value("Content-Type"), "image/jpeg");
  std::ifstream file(sampleDir() / "media" / "stories" / "spring-menu.jpg", std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  EXPECT_EQ(image->body, bytes.str());

  auto range = client->Get("/media/stories/spring-menu.jpg", {httplib::make_range_header({{8, 15}})});
  ASSERT_TRUE(range);
  EXPECT_EQ(range->status, 206);
  EXPECT_EQ(range->body, bytes.str().substr(8, 8));
}

TEST_F(DevServerTest, BannersCarryIntegerIdsPlacementKeysAndBothSpellingsOfTheLayoutKeys) {
  auto [status, body] = get("/sdk/v1/apps/demo-app/placements/promotions/banners", headers());
  ASSERT_EQ(status, 200);
  const auto& banners = body["banners"];
  ASSERT_EQ(banners.size(), 5u);
  for (const auto& banner : banners) {
    EXPECT_TRUE(banner["id"].is_number_integer());
    EXPECT_EQ(banner["placementKey"], "promotions");
    for (const auto& item : banner["items"]) EXPECT_TRUE(item["id"].is_number_integer());
  }
  EXPECT_EQ(banners[0]["layoutMode"], "STRETCHED");
  EXPECT_EQ(banners[0]["bannerLayoutMode"], "FIXED_HEIGHT");
  EXPECT_EQ(banners[1]["bannerFixedHeight"], 180);

  // A placement that lists no banners (or no stories) answers an empty list.
  auto [storiesStatus, stories] = get(storiesPath("promotions"), headers());
  EXPECT_EQ(storiesStatus, 200);
  EXPECT_EQ(stories, nlohmann::json({{"groups", nlohmann::json::array()}}));
}

TEST_F(DevServerTest, RequestsWithoutTheAppsKeyAre401AndUnknownThingsAre404) {
  struct Case {
    std::string method, path;
    httplib::Headers headers;
    int status;
  };
  httplib::Headers wrongKey{{"X-Talewyn-SDK-Key", "second-sdk-key"}};
  std::string vote = R"({"optionId":"c3a10000-0000-4000-8000-000000000041"})";
  std::vector<Case> cases = {
      {"GET", storiesPath(), {}, 401},
      {"GET", storiesPath(), wrongKey, 401},
      {"GET", "/sdk/v1/apps/demo-app/placements/home/banners", wrongKey, 401},
      {"POST", votePath("7e0b3f1a-5c2d-4a8e-b6f4-100000000004"), wrongKey, 401},
      {"POST", "/sdk/v1/apps/demo-app/events", wrongKey, 401},
      {"GET", "/sdk/v1/apps/no-such-app/placements/home/stories", headers(), 404},
      {"GET", storiesPath("no-such-placement"), headers(), 404},
      {"GET", storiesPath("Home"), headers(), 404},  // placement keys are matched exactly
      {"GET", "/sdk/v1/apps/demo-app/placements/no-such-placement/banners", headers(), 404},
      {"POST", votePath("7e0b3f1a-5c2d-4a8e-b6f4-ffffffffffff"), headers(), 404},
      {"POST", votePath("not-an-item"), headers(), 404},
      // An item of another app is unknown here.
      {"POST", votePath("7e0b3f1a-5c2d-4a8e-b6f4-100000000021"), headers(), 404},
      {"GET", "/sdk/v1/nothing-here", headers(), 404},
      {"GET", "/media/stories/missing.png", {}, 404},
  };
  for (const auto& c : cases) {
    auto [status, body] = c.method == "GET" ? get(c.path, c.headers) : post(c.path, vote, c.headers);
    EXPECT_EQ(status, c.status) << c.method << " " << c.path;
    EXPECT_TRUE(body.is_object() && body["error"].is_string()) << c.path << ": " << body;
  }
  auto counts = store->voteCounts(kApp);
  ASSERT_TRUE(counts);
  EXPECT_TRUE(counts.value().empty());
}

TEST_F(DevServerTest, MediaPathsCannotLeaveTheMediaDirectory) {
  for (const char* path :
       {"/media/../content.json", "/media/stories/../../content.json", "/media/%2e%2e/content.json",
        "/media/stories//vote-next-dish.jpg", "/media/stories", "/media/.%2Fstories/vote-next-dish.jpg"}) {
    auto result = client->Get(path);
    ASSERT_TRUE(result) << path;
    EXPECT_EQ(result->status, 404) << path;
    EXPECT_EQ(result->body.find("\"apps\""), std::string::npos) << path;
  }
}

TEST_F(DevServerTest, ContentUsesTheHostTheClientAskedFor) {
  httplib::Headers viaAlias = headers();
  viaAlias.emplace("Host", "localhost:" + std::to_string(server->port()));
  auto [status, body] = get(storiesPath(), viaAlias);
  ASSERT_EQ(status, 200);
  EXPECT_EQ(body["groups"][0]["items"][0]["media"]["mediaUrl"],
            "http://localhost:" + std::to_string(server->port()) + "/media/stories/spring-menu.jpg");

  // A Host that is not a plain host and port is not echoed.
  httplib::Headers hostile = headers();
  hostile.emplace("Host", "evil.example/\"><script>");
  auto [hostileStatus, hostileBody] = get(storiesPath(), hostile);
  ASSERT_EQ(hostileStatus, 200);
  EXPECT_EQ(hostileBody["groups"][0]["items"][0]["media"]["mediaUrl"],
            server->origin() + "/media/stories/spring-menu.jpg");
}

class TlsDevServerTest : public DevServerTest {
 protected:
  void SetUp() override {
    ServerOptions options;
    options.certFile = std::filesystem::path(QUENMARK_TEST_DATA_DIR) / "devserver" / "test-cert.pem";
    options.keyFile = std::filesystem::path(QUENMARK_TEST_DATA_DIR) / "devserver" / "test-key.pem";
    startServer(options);
  }
};

TEST_F(TlsDevServerTest, ServesOverHttpsWithTheGivenCertificate) {
  ASSERT_TRUE(server->usesTls());
  httplib::SSLClient tls("127.0.0.1", server->port());
  tls.enable_server_certificate_verification(false);
  auto result = tls.Get(storiesPath().c_str(), headers());
  ASSERT_TRUE(result) << httplib::to_string(result.error());
  EXPECT_EQ(result->status, 200);
  auto body = nlohmann::json::parse(result->body);
  EXPECT_EQ(body["groups"][0]["items"][0]["media"]["mediaUrl"],
            "https://127.0.0.1:" + std::to_string(server->port()) + "/media/stories/spring-menu.jpg");
}

TEST(DevServerSetup, BindFailsWithAMessageForAMissingCertificateOrABusyPort) {
  TemporaryDirectory directory;
  auto store = DevStore::open(directory.path() / "dev.db");
  ASSERT_TRUE(store);
  std::shared_ptr<DevStore> shared = std::move(store).value();
  auto catalog = ContentCatalog::fromJson(nlohmann::json{{"apps", nlohmann::json::object()}});
  ASSERT_TRUE(catalog);

  ServerOptions tls;
  tls.certFile = directory.path() / "missing-cert.pem";
  tls.keyFile = directory.path() / "missing-key.pem";
  DevServer withoutCertificate(catalog.value(), shared, tls);
  auto failed = withoutCertificate.bind();
  ASSERT_FALSE(failed);
  EXPECT_NE(failed.error().find("missing-cert.pem"), std::string::npos);

  DevServer first(catalog.value(), shared, ServerOptions{});
  auto port = first.start();
  ASSERT_TRUE(port);
  ServerOptions samePort;
  samePort.port = port.value();
  DevServer second(catalog.value(), shared, samePort);
  EXPECT_FALSE(second.bind());
  // Stopping a server that never ran returns at once.
  second.stop();
}

}  // namespace
}  // namespace quenmark::devserver::testing
