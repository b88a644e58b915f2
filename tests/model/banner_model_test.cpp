#include <quenmark/model/banner.h>
#include <quenmark/model/model_json.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <set>
#include <string>

namespace quenmark {
namespace {

using nlohmann::json;

Url url(const char* text) { return *Url::parse(text); }

BannerItem item(const char* id, std::int64_t orderIndex) {
  return BannerItem(id, std::nullopt, url("https://cdn.example.com/b.jpg"), orderIndex, BannerCtaType::none,
                    std::nullopt);
}

Banner banner(std::vector<BannerItem> items) {
  return Banner("41", BannerType::carousel, "home_top", 2, 5, BannerLayoutMode::auto_, std::nullopt, std::nullopt,
                BannerContentMode::cover, std::move(items));
}

Banner fullBanner() {
  return Banner("42", BannerType::story, "home_top", -1, 0, BannerLayoutMode::fixedHeight, "16:9", 180,
                BannerContentMode::fit,
                {BannerItem("7", "asset-7", url("https://cdn.example.com/7.webp"), 0, BannerCtaType::deepLink,
                            url("myapp://promo/7")),
                 item("8", 1)});
}

std::set<std::string> keysOf(const json& object) {
  std::set<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.insert(key);
  return keys;
}

Result<Banner> decodeBannerWith(const char* key, std::optional<json> value = std::nullopt) {
  json object = json::parse(encodeJson(fullBanner()).value());
  if (value) {
    object[key] = *value;
  } else {
    object.erase(key);
  }
  return decodeBannerJson(object.dump());
}

TEST(BannerEnumerations, RawValuesMatchExactlyAndCaseSensitively) {
  EXPECT_EQ(bannerTypeFromRawValue("carousel"), std::nullopt);
  EXPECT_EQ(bannerTypeFromRawValue("CAROUSEL"), BannerType::carousel);
  EXPECT_EQ(fromRawValue<BannerType>("STATIC"), BannerType::static_);
  for (BannerCtaType type : {BannerCtaType::externalURL, BannerCtaType::deepLink, BannerCtaType::internalRoute,
                             BannerCtaType::customEvent, BannerCtaType::none}) {
    EXPECT_EQ(bannerCtaTypeFromRawValue(rawValue(type)), type);
  }
  EXPECT_EQ(rawValue(BannerCtaType::externalURL), "EXTERNAL_URL");
  EXPECT_EQ(bannerLayoutModeFromRawValue("ASPECT_RATIO"), BannerLayoutMode::aspectRatio);
  EXPECT_EQ(bannerLayoutModeFromRawValue("AspectRatio"), std::nullopt);
  EXPECT_EQ(rawValue(BannerLayoutMode::auto_), "AUTO");
  EXPECT_EQ(bannerContentModeFromRawValue("FIT"), BannerContentMode::fit);
  EXPECT_EQ(bannerContentModeFromRawValue("fill"), std::nullopt);
}

TEST(BannerValues, EqualityComparesItemsElementByElement) {
  EXPECT_EQ(banner({item("1", 0), item("2", 1)}), banner({item("1", 0), item("2", 1)}));
  EXPECT_NE(banner({item("1", 0), item("2", 1)}), banner({item("1", 0), item("2", 2)}));
  EXPECT_NE(banner({item("1", 0), item("2", 1)}), banner({item("2", 1), item("1", 0)}));
  EXPECT_NE(banner({item("1", 0)}), banner({}));
}

TEST(BannerJson, AbsentLayoutValuesDecodeAbsentAndAreNotWrittenBack) {
  const json object = {
      {"id", "41"},           {"type", "CAROUSEL"},         {"placementKey", "home_top"},   {"viewOrder", 2},
      {"autoplaySeconds", 5}, {"bannerLayoutMode", "AUTO"}, {"bannerContentMode", "COVER"}, {"items", json::array()}};
  const Result<Banner> decoded = decodeBannerJson(object.dump());
  ASSERT_TRUE(decoded.ok()) << decoded.error().description;
  EXPECT_EQ(decoded.value(), banner({}));
  EXPECT_EQ(json::parse(encodeJson(decoded.value()).value()), object);

  json withNulls = object;
  withNulls["bannerAspectRatio"] = nullptr;
  withNulls["bannerFixedHeight"] = nullptr;
  EXPECT_EQ(decodeBannerJson(withNulls.dump()).value(), banner({}));
}

TEST(BannerJson, FullBannerRoundTrips) {
  const json object = json::parse(encodeJson(fullBanner()).value());
  EXPECT_EQ(object["type"], "STORY");
  EXPECT_EQ(object["bannerLayoutMode"], "FIXED_HEIGHT");
  EXPECT_EQ(object["bannerFixedHeight"], 180);
  EXPECT_EQ(object["bannerAspectRatio"], "16:9");
  EXPECT_EQ(keysOf(object["items"][0]),
            (std::set<std::string>{"id", "mediaAssetId", "mediaURL", "orderIndex", "ctaType", "ctaURL"}));
  EXPECT_EQ(keysOf(object["items"][1]), (std::set<std::string>{"id", "mediaURL", "orderIndex", "ctaType"}));
  EXPECT_EQ(object["items"][0]["ctaType"], "DEEP_LINK");
  EXPECT_EQ(decodeBannerJson(object.dump()).value(), fullBanner());
  EXPECT_EQ(decodeBannerItemJson(object["items"][0].dump()).value(), fullBanner().items()[0]);
}

TEST(BannerJson, RequiredKeysAndBadValuesFailNamingTheKey) {
  const auto expectFailure = [](const Result<Banner>& result, const std::string& mentioned) {
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, ErrorKind::decoding);
    EXPECT_NE(result.error().description.find(mentioned), std::string::npos) << result.error().description;
  };
  for (const char* key : {"id", "type", "placementKey", "viewOrder", "autoplaySeconds", "bannerLayoutMode",
                          "bannerContentMode", "items"}) {
    SCOPED_TRACE(key);
    expectFailure(decodeBannerWith(key), std::string("\"") + key + "\"");
  }
  expectFailure(decodeBannerWith("type", "carousel"), "\"type\"");
  expectFailure(decodeBannerWith("bannerFixedHeight", "180"), "\"bannerFixedHeight\"");
  expectFailure(decodeBannerWith("bannerAspectRatio", 1.5), "\"bannerAspectRatio\"");
  expectFailure(decodeBannerWith("autoplaySeconds", 2.5), "\"autoplaySeconds\"");

  json items = json::parse(encodeJson(fullBanner()).value())["items"];
  items[1]["ctaType"] = "OPEN";
  expectFailure(decodeBannerWith("items", items), "\"items[1].ctaType\"");
  items[1]["ctaType"] = "NONE";
  items[1]["mediaURL"] = "cdn.example.com/b.jpg";
  expectFailure(decodeBannerWith("items", items), "\"items[1].mediaURL\"");
  items[1].erase("mediaURL");
  expectFailure(decodeBannerWith("items", items), "\"items[1].mediaURL\"");
}

TEST(BannerItemJson, UnknownCtaTypeFails) {
  const Result<BannerItem> result = decodeBannerItemJson(
      R"({"id": "7", "mediaURL": "https://cdn.example.com/7.webp", "orderIndex": 0, "ctaType": "OPEN"})");
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error().kind, ErrorKind::decoding);
  EXPECT_NE(result.error().description.find("OPEN"), std::string::npos);
}

}  // namespace
}  // namespace quenmark
