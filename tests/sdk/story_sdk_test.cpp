#include "sdk_test_fixture.h"

#include "net/story_analytics_api.h"

#include <quenmark/sdk/story_sdk.h>

#include <gtest/gtest.h>

#include <regex>
#include <tuple>

namespace quenmark::sdktest {
namespace {

using StorySDKFacade = SdkTest;

constexpr const char* kAnonymousKey = "talewyn_anonymous_user_id";

bool isUpperCaseUuid(const std::string& text) {
  return std::regex_match(text, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"));
}

/// The resolved app, bundle and user ids and the vote key of "item-9".
using Identity =
    std::tuple<std::optional<std::string>, std::optional<std::string>, std::optional<std::string>, std::string>;
Identity identity() {
  auto& sdk = StorySDK::shared();
  return {sdk.resolvedAppId(), sdk.resolvedBundleId(), sdk.resolvedUserId(), sdk.voteStorageKey("item-9")};
}

TEST_F(StorySDKFacade, BeforeConfigureNothingIsSetAndUpdateSessionIsIgnored) {
  EXPECT_FALSE(sdk().configuration());
  EXPECT_EQ(sdk().sessionId() + sdk().anonymousUserId(), "");
  // The app id is the bundle identifier, even unconfigured.
  EXPECT_EQ(identity(), (Identity{"com.example.host", "com.example.host", std::nullopt,
                                  "quenmark_widget_vote:unknown-app::item-9"}));

  sdk().updateSession(std::string("a"), std::string("b"), std::string("c"));
  EXPECT_FALSE(sdk().configuration());
  EXPECT_EQ(sdk().sessionId(), "");
  EXPECT_FALSE(tp.store->get(kAnonymousKey));  // nothing read or written before configure
}

TEST_F(StorySDKFacade, AnonymousIdIsCreatedOnceStoredAndKeptAcrossConfiguresAndAStoredOneIsUsedAsStored) {
  sdk().configure(makeConfiguration());
  const std::string anonymous = sdk().anonymousUserId();
  const std::string firstSession = sdk().sessionId();
  EXPECT_TRUE(isUpperCaseUuid(anonymous));
  EXPECT_TRUE(isUpperCaseUuid(firstSession));
  EXPECT_EQ(tp.store->get(kAnonymousKey), anonymous);
  EXPECT_EQ(sdk().analyticsAPI().sessionId(), firstSession);

  sdk().configure(makeConfiguration());
  EXPECT_EQ(sdk().anonymousUserId(), anonymous);
  EXPECT_NE(sdk().sessionId(), firstSession);
  EXPECT_EQ(sdk().analyticsAPI().sessionId(), sdk().sessionId());

  // A stored id is used as stored; an empty one is replaced.
  tp.store->set(kAnonymousKey, " legacy-id ");
  sdk().configure(makeConfiguration());
  EXPECT_EQ(sdk().anonymousUserId(), " legacy-id ");
  tp.store->set(kAnonymousKey, "");
  sdk().configure(makeConfiguration());
  EXPECT_TRUE(isUpperCaseUuid(sdk().anonymousUserId()));
  EXPECT_EQ(tp.store->get(kAnonymousKey), sdk().anonymousUserId());
}

TEST_F(StorySDKFacade, ResolvedIdentitiesPreferTrimmedHostValuesThenDeviceThenFallbacks) {
  tp.store->set(kAnonymousKey, "ANON");
  sdk().configure(makeConfiguration(std::string("  app.id \n"), std::string("\tbundle.id "), std::string("  user-7 ")));
  EXPECT_EQ(identity(), (Identity{"app.id", "bundle.id", "user-7", "quenmark_widget_vote:app-key:user-7:item-9"}));

  // Blank host values fall through to the device's bundle identifier and the anonymous id.
  sdk().configure(makeConfiguration(std::string("   "), std::string(""), std::string(" \u00a0")));
  EXPECT_EQ(identity(),
            (Identity{"com.example.host", "com.example.host", "ANON", "quenmark_widget_vote:app-key:ANON:item-9"}));

  // Without a bundle identifier the app id is the app key, untrimmed and even when empty.
  platform::DeviceInfo device;
  device.bundleIdentifier = "  ";
  tp.device->set(device);
  EXPECT_EQ(identity(), (Identity{"app-key", std::nullopt, "ANON", "quenmark_widget_vote:app-key:ANON:item-9"}));
  sdk().configure(makeConfiguration(std::nullopt, std::nullopt, std::nullopt, ""));
  EXPECT_EQ(sdk().resolvedAppId(), "");
}

TEST_F(StorySDKFacade, UpdateSessionStartsASessionOnlyWhenTheTrimmedIdentityChanges) {
  sdk().configure(makeConfiguration(std::string("app"), std::nullopt, std::string("user-1")));
  sdk().registerPlacement({makeGroup("g1")}, "home");
  ASSERT_TRUE(sdk().markPlacementViewed("g1"));
  std::string session = sdk().sessionId();

  // Absent arguments change nothing.
  sdk().updateSession(std::nullopt, std::nullopt, std::nullopt);
  EXPECT_EQ(sdk().sessionId(), session);
  EXPECT_EQ(sdk().configuration()->appId(), "app");

  // Only surrounding white space, or absent to empty: same session, new values stored untrimmed.
  sdk().updateSession(std::nullopt, std::string(""), std::string("  user-1\n"));
  EXPECT_EQ(sdk().sessionId(), session);
  EXPECT_EQ(sdk().configuration()->userId(), "  user-1\n");
  EXPECT_EQ(sdk().configuration()->bundleId(), "");
  EXPECT_FALSE(sdk().markPlacementViewed("g1"));  // still the same session

  // Another user: a new session, the per-session sets are empty, the placement map stays.
  sdk().updateSession(std::nullopt, std::nullopt, std::string("user-2"));
  EXPECT_NE(sdk().sessionId(), session);
  EXPECT_EQ(sdk().analyticsAPI().sessionId(), sdk().sessionId());
  EXPECT_EQ(sdk().configuration()->appId(), "app");
  EXPECT_EQ(sdk().placementKeyForGroup("g1"), "home");
  EXPECT_TRUE(sdk().markPlacementViewed("g1"));

  // Joined with "|" these two identities read the same ("a|||u"); they are different hosts' values.
  sdk().configure(makeConfiguration(std::string("a|"), std::nullopt, std::string("u")));
  session = sdk().sessionId();
  sdk().updateSession(std::string("a"), std::string("|"), std::nullopt);
  EXPECT_NE(sdk().sessionId(), session);
}

TEST_F(StorySDKFacade, PlacementRegistrationAndViewMarking) {
  sdk().configure(makeConfiguration());
  EXPECT_FALSE(sdk().markPlacementViewed("unknown"));

  sdk().registerPlacement({makeGroup("g1"), makeGroup("g2")}, "home");
  sdk().registerPlacement({makeGroup("g2"), makeGroup("g3")}, "feed");  // g2 moves to feed
  EXPECT_EQ(sdk().placementKeyForGroup("g1"), "home");
  EXPECT_EQ(sdk().placementKeyForGroup("g2"), "feed");

  EXPECT_TRUE(sdk().markPlacementViewed("g1"));
  EXPECT_TRUE(sdk().markPlacementViewed("g2"));
  EXPECT_FALSE(sdk().markPlacementViewed("g3"));  // feed already marked through g2
  EXPECT_FALSE(sdk().markPlacementViewed("g1"));
  sdk().configure(makeConfiguration());
  EXPECT_TRUE(sdk().markPlacementViewed("g1"));

  EXPECT_EQ(sdk().placementKeyFor(StorySDKEvent::StoryOpen{"g3"}), "feed");
  EXPECT_FALSE(sdk().placementKeyFor(StorySDKEvent::SwipeUp{"never", "i"}));
  EXPECT_EQ(sdk().placementKeyFor(StorySDKEvent::BannerClick{"b", std::nullopt, "top", std::nullopt}), "top");
}

}  // namespace
}  // namespace quenmark::sdktest
