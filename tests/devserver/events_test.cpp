#include <algorithm>
#include <sstream>
#include <tuple>

#include "devserver/event_log.h"
#include "devserver/record_check.h"
#include "devserver/wire_records.h"
#include "devserver_fixture.h"

namespace quenmark::devserver::testing {
namespace {

nlohmann::json sdkEvent() {
  return nlohmann::json::parse(R"({"appKey": "demo-app", "placementKey": "home", "eventType": "STORY_GROUP_IMPRESSION",
    "storyGroupId": "8f14e45f-ceea-467f-a0e6-7b7c1f1c0a01", "anonymousUserId": "5B0E8E6C-3C1B-4B7E-9F2A-1D2E3F4A5B6C",
    "sessionId": "0F1E2D3C-4B5A-4968-8776-655443322110", "platform": "IOS", "locale": "en-GB", "sdkVersion": "1.0.0",
    "occurredAt": "2026-01-31T09:05:00Z", "eventId": "A1B2C3D4-E5F6-4A1B-8C2D-3E4F5A6B7C8D"})");
}

nlohmann::json analyticsRecord() {
  return nlohmann::json::parse(R"({"placementKey": "home", "storyGroupId": "8f14e45f-ceea-467f-a0e6-7b7c1f1c0a01",
    "eventType": "STORY_GROUP_OPENED", "devicePlatform": "IOS", "userLanguage": "en-GB", "country": "GB",
    "deviceId": "9A8B7C6D-5E4F-4321-8765-43210FEDCBA9", "sessionId": "0F1E2D3C-4B5A-4968-8776-655443322110",
    "occurredAt": "2026-01-31T10:05:00+01:00"})");
}

nlohmann::json with(nlohmann::json record, const std::string& key, nlohmann::json value) {
  if (value.is_discarded()) {
    record.erase(key);
  } else {
    record[key] = std::move(value);
  }
  return record;
}
const nlohmann::json kRemove = nlohmann::json(nlohmann::json::value_t::discarded);

std::vector<StoredEvent> storedEvents(DevStore& store) {
  auto events = store.eventsAfter(0);
  EXPECT_TRUE(events) << events.error();
  return events ? events.value() : std::vector<StoredEvent>{};
}

TEST_F(DevServerTest, EventsAreStoredByteForByteAndPrintedFromAGivenId) {
  // Unusual spacing and key order survive: the store keeps the body as it arrived.
  std::string sdkBody = "{ \"eventType\":\"STORY_OPEN\",\n" + sdkEvent().dump().substr(1);
  EXPECT_EQ(post("/sdk/v1/events", sdkBody, headers()).first, 202);
  std::string analyticsBody = analyticsRecord().dump(2);
  EXPECT_EQ(post("/sdk/v1/apps/demo-app/events", analyticsBody, headers()).first, 202);

  auto events = storedEvents(*store);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ((std::tuple{events[0].kind, events[0].body, events[0].appKey, events[1].kind, events[1].body}),
            (std::tuple{"sdk_event", sdkBody, "demo-app", "analytics", analyticsBody}));
  EXPECT_TRUE(isInternetDateTime(events[0].receivedAt));

  // Printing (its lines are the `events` command's) returns the last id; from there on only what arrived since.
  std::ostringstream out;
  auto last = printEventsAfter(*store, 0, out);
  ASSERT_TRUE(last);
  EXPECT_EQ(last.value(), events[1].id);
  post("/sdk/v1/events", sdkEvent().dump(), headers());
  std::ostringstream more;
  ASSERT_TRUE(printEventsAfter(*store, last.value(), more));
  EXPECT_EQ(nlohmann::json::parse(more.str())["id"], events[1].id + 1);
}

TEST_F(DevServerTest, EventRecordsThatBreakTheirRulesAre400AndOnlyValidOnesAreStored) {
  const std::string sdk = "/sdk/v1/events", analytics = "/sdk/v1/apps/demo-app/events";
  const auto event = sdkEvent(), record = analyticsRecord();
  auto minimal = record;  // every optional key left out
  for (const char* key : {"storyGroupId", "userLanguage", "country", "deviceId", "sessionId", "storyItemId"})
    minimal.erase(key);
  struct Case {
    const char* name;
    const std::string& path;
    nlohmann::json body;
    int status;
  };
  const Case cases[] = {
      {"eventId missing", sdk, with(event, "eventId", kRemove), 400},
      {"eventId not a UUID", sdk, with(event, "eventId", "event-1"), 400},
      {"sessionId not a UUID", sdk, with(event, "sessionId", "A1B2C3D4E5F64A1B8C2D3E4F5A6B7C8D"), 400},
      {"occurredAt without zone", sdk, with(event, "occurredAt", "2026-01-31T09:05:00"), 400},
      {"occurredAt a number", sdk, with(event, "occurredAt", 1769850300), 400},
      {"eventType lower case", sdk, with(event, "eventType", "story_open"), 400},
      {"eventType empty", sdk, with(event, "eventType", ""), 400},
      {"appKey a number", sdk, with(event, "appKey", 7), 400},
      {"placementKey missing", sdk, with(event, "placementKey", kRemove), 400},
      {"storyItemId a number", sdk, with(event, "storyItemId", 12), 400},
      {"bannerId an object", sdk, with(event, "bannerId", nlohmann::json::object()), 400},
      {"locale null", sdk, with(event, "locale", nullptr), 400},
      {"huge number", sdk, with(event, "sdkVersion", nlohmann::json::parse("1e308")), 400},
      // The app in the body decides which key is expected.
      {"unknown app", sdk, with(event, "appKey", "no-such-app"), 404},
      // Optional keys may be null or missing; keys the record does not list are ignored.
      {"lenient", sdk, with(with(event, "bannerId", nullptr), "extra", "ignored"), 202},
      {"occurredAt missing", analytics, with(record, "occurredAt", kRemove), 400},
      {"occurredAt bad offset", analytics, with(record, "occurredAt", "2026-01-31T10:05:00+1:00"), 400},
      {"deviceId not a UUID", analytics, with(record, "deviceId", "device"), 400},
      {"sessionId a number", analytics, with(record, "sessionId", 1), 400},
      {"eventType missing", analytics, with(record, "eventType", kRemove), 400},
      {"devicePlatform empty", analytics, with(record, "devicePlatform", " "), 400},
      {"placementKey an array", analytics, with(record, "placementKey", nlohmann::json::array({"home"})), 400},
      {"country a boolean", analytics, with(record, "country", true), 400},
      {"minimal", analytics, minimal, 202},
  };
  for (const auto& c : cases) {
    auto [status, answer] = post(c.path, c.body.dump(), headers());
    EXPECT_EQ(status, c.status) << c.name;
    EXPECT_TRUE(status == 202 || (answer.is_object() && answer["error"].is_string())) << c.name;
  }
  EXPECT_EQ(post(sdk, R"({"appKey": "demo-app")", headers()).first, 400);
  EXPECT_EQ(post(analytics, "", headers()).first, 400);
  EXPECT_EQ(post("/sdk/v1/apps/no-such-app/events", record.dump(), headers()).first, 404);
  EXPECT_EQ(post(sdk, event.dump(), {{"X-Talewyn-SDK-Key", "second-sdk-key"}}).first, 401);
  EXPECT_EQ(post(sdk, event.dump(), {}).first, 401);
  EXPECT_EQ(storedEvents(*store).size(), 2u);
}

TEST(EventLog, FollowingPrintsWhatArrivedUntilStopped) {
  TemporaryDirectory directory;
  auto opened = DevStore::open(directory.path() / "events.db");
  ASSERT_TRUE(opened);
  for (int i = 0; i < 2; ++i)
    ASSERT_TRUE(opened.value()->addEvent("sdk_event", "demo-app", "2026-01-31T09:05:00Z", "{}"));
  StopSignal stop;
  stop.raise();
  std::ostringstream out;
  auto last = followEvents(*opened.value(), 0, out, stop, std::chrono::milliseconds(10));
  ASSERT_TRUE(last);
  const std::string printed = out.str();
  EXPECT_EQ((std::tuple{last.value(), std::count(printed.begin(), printed.end(), '\n')}), (std::tuple{2, 2}));
}

TEST(WireRecords, DateTimesAndUuidsFollowTheServicesTextRules) {
  for (const char* good : {"2025-03-01T10:15:30Z", "2025-03-01T12:15:30+02:00", "2024-02-29T23:59:59-11:30"}) {
    EXPECT_TRUE(isInternetDateTime(good)) << good;
  }
  for (const char* bad : {"2025-03-01T10:15:30.123Z", "2025-03-01 10:15:30Z", "2025-03-01t10:15:30z",
                          "2025-02-29T10:15:30Z", "2025-13-01T10:15:30Z", "2025-03-01T24:00:00Z",
                          "2025-03-01T10:15:60Z", "2025-03-01T10:15Z", "2025-03-01T10:15:30+0200", ""}) {
    EXPECT_FALSE(isInternetDateTime(bad)) << bad;
  }
  EXPECT_TRUE(isUuidText("8F14E45F-CEEA-467F-A0E6-7B7C1F1C0A01"));
  EXPECT_TRUE(isUuidText("8f14e45f-ceea-467f-a0e6-7b7c1f1c0a01"));
  for (const char* bad : {"8F14E45FCEEA467FA0E67B7C1F1C0A01", "{8F14E45F-CEEA-467F-A0E6-7B7C1F1C0A01}",
                          "8F14E45F-CEEA-467F-A0E6-7B7C1F1C0A0G", "8F14E45F-CEEA-467F-A0E67-B7C1F1C0A01", "abc"}) {
    EXPECT_FALSE(isUuidText(bad)) << bad;
  }
  EXPECT_EQ(identifierKey("8F14E45F-CEEA-467F-A0E6-7B7C1F1C0A01"), "8f14e45f-ceea-467f-a0e6-7b7c1f1c0a01");
  EXPECT_EQ(identifierKey("Not-A-Uuid"), "Not-A-Uuid");
}

}  // namespace
}  // namespace quenmark::devserver::testing
