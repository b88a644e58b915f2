#include <fstream>
#include <iterator>
#include <tuple>

#include "devserver_fixture.h"

namespace quenmark::devserver::testing {
namespace {

TEST_F(DevServerTest, ContentIsServedAsWrittenWithMediaUrlsOnTheOriginTheClientAskedFor) {
  const nlohmann::json absent = "<absent>";
  const std::string localhost = "http://localhost:" + std::to_string(server->port()),
                    picture = "/media/stories/spring-menu.jpg";
  auto viaHost = [&](const std::string& host) {
    auto result = headers();
    result.emplace("Host", host);
    return result;
  };
  struct Case {
    std::string path;
    httplib::Headers headers;
    nlohmann::json expected;  // JSON pointer -> value
  };
  const std::string media = "/groups/0/items/0/media/mediaUrl";
  const Case cases[] = {
      // Ids keep the file's letter case (the SDK lower-cases them); an option the file gives no count stays
      // without one until someone votes for it.
      {storiesPath(), headers("user-1"),
       nlohmann::json::parse(R"({"/groups/0/id": "8F14E45F-CEEA-467F-A0E6-7B7C1F1C0A01",
        "/groups/0/theme/progressStyle": "BAR", "/groups/5/items": [], "/groups/6": "<absent>",
        "/groups/1/items/0/userVote": "<absent>", "/groups/1/items/0/widgetOptions/0/voteCount": 12,
        "/groups/1/items/0/widgetOptions/2/voteCount": "<absent>"})")},
      {storiesPath(), viaHost(localhost.substr(7)), {{media, localhost + picture}}},
      // A Host that is not a plain host and port is not echoed.
      {storiesPath(), viaHost("evil.example/\"><script>"), {{media, server->origin() + picture}}},
      // Banners carry integer ids, the placement they are listed under and both spellings of the layout keys.
      {"/sdk/v1/apps/demo-app/placements/promotions/banners", headers(), nlohmann::json::parse(R"({"/banners/0/id": 201,
        "/banners/0/items/1/id": 2012, "/banners/4/placementKey": "promotions", "/banners/5": "<absent>",
        "/banners/0/layoutMode": "STRETCHED", "/banners/0/bannerLayoutMode": "FIXED_HEIGHT",
        "/banners/1/bannerFixedHeight": 180})")},
      // A placement that lists no stories (or no banners) answers an empty list.
      {storiesPath("promotions"), headers(), {{"/groups", nlohmann::json::array()}, {"/banners", absent}}},
  };
  for (const auto& c : cases) {
    auto [status, body] = get(c.path, c.headers);
    ASSERT_EQ(status, 200) << c.path;
    for (const auto& [pointer, value] : c.expected.items()) {
      const nlohmann::json::json_pointer at(pointer);
      EXPECT_EQ(body.contains(at) ? body[at] : absent, value) << c.path << " " << pointer;
    }
  }

  // The media the content refers to is served, whole or in ranges.
  std::ifstream file(sampleDir() / "media" / "stories" / "spring-menu.jpg", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  auto image = client->Get(picture);
  ASSERT_TRUE(image);
  EXPECT_EQ((std::tuple{image->status, image->get_header_value("Content-Type"), image->body == bytes}),
            (std::tuple{200, "image/jpeg", true}));
  auto range = client->Get(picture, {httplib::make_range_header({{8, 15}})});
  ASSERT_TRUE(range);
  EXPECT_EQ((std::tuple{range->status, range->body}), (std::tuple{206, bytes.substr(8, 8)}));
}

TEST_F(DevServerTest, RequestsWithoutTheAppsKeyAre401AndUnknownThingsOrPathsOutsideTheMediaAre404) {
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
      // Media paths cannot leave the media directory.
      {"GET", "/media/../content.json", {}, 404},
      {"GET", "/media/stories/../../content.json", {}, 404},
      {"GET", "/media/%2e%2e/content.json", {}, 404},
      {"GET", "/media/stories//vote-next-dish.jpg", {}, 404},
      {"GET", "/media/stories", {}, 404},
      {"GET", "/media/.%2Fstories/vote-next-dish.jpg", {}, 404},
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

TEST_F(DevServerTest, ServesOverHttpsWithTheGivenCertificate) {
  ServerOptions options;
  options.certFile = std::filesystem::path(QUENMARK_TEST_DATA_DIR) / "devserver" / "test-cert.pem";
  options.keyFile = std::filesystem::path(QUENMARK_TEST_DATA_DIR) / "devserver" / "test-key.pem";
  startServer(options);
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
  ServerOptions tls;
  tls.certFile = directory.path() / "missing-cert.pem";
  tls.keyFile = directory.path() / "missing-key.pem";
  auto failed = serverWithoutApps(directory, tls)->bind();
  ASSERT_FALSE(failed);
  EXPECT_NE(failed.error().find("missing-cert.pem"), std::string::npos);

  auto first = serverWithoutApps(directory);
  auto port = first->start();
  ASSERT_TRUE(port);
  ServerOptions samePort;
  samePort.port = port.value();
  auto second = serverWithoutApps(directory, samePort);
  EXPECT_FALSE(second->bind());
  // Stopping a server that never ran returns at once.
  second->stop();
}

}  // namespace
}  // namespace quenmark::devserver::testing
