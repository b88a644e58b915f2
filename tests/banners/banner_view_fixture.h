#pragma once

#include "sdk_test_fixture.h"
#include "test_images.h"

#include <quenmark/banners/banner_view.h>
#include <quenmark/net/story_image_pipeline.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quenmark::bannertest {

inline constexpr const char* kBannersPath = "/sdk/v1/apps/app-key/placements/home_top/banners";

/// One item as the service sends it; its picture is "/media/<picture>" on the test server.
struct ItemPlan {
  ItemPlan(long long idValue, long long order, std::string pictureName, std::string cta = "NONE",
           std::optional<std::string> url = std::nullopt)
      : id(idValue),
        orderIndex(order),
        picture(std::move(pictureName)),
        ctaType(std::move(cta)),
        ctaUrl(std::move(url)) {}

  long long id;
  long long orderIndex;
  std::string picture;  ///< "ok-N.png" pictures answer with an image; anything else with 404
  std::string ctaType;
  std::optional<std::string> ctaUrl;
};

/// `count` items with ids and order 1..count and pictures "<prefix>-<id>.png".
inline std::vector<ItemPlan> items(int count, const std::string& prefix = "ok") {
  std::vector<ItemPlan> result;
  for (int i = 1; i <= count; ++i) result.emplace_back(i, i, prefix + "-" + std::to_string(i) + ".png");
  return result;
}

/// Banners, pictures, event handler and a fresh facade, image pipeline and content cache per test.
class BannerViewTest : public sdktest::SdkTest {
 protected:
  void SetUp() override {
    SdkTest::SetUp();
    StoryImagePipeline::shared().resetForTesting();
    server.on("GET", kBannersPath, [this](const testsupport::RecordedRequest&) {
      std::lock_guard lock(responseMutex_);
      return bannersResponse_;
    });
    picturePng_ = testsupport::encodePng(testsupport::makeTestPicture(4, 2));
    for (int i = 1; i <= 12; ++i) {
      testsupport::ScriptedResponse picture{200, picturePng_, "image/png", {}, {}};
      server.on("GET", "/media/ok-" + std::to_string(i) + ".png", picture);
    }
    sdk().configure(sdktest::makeConfiguration());
    sdk().setEventHandler([this](const StorySDKEvent& event) { events.push_back(event); });
  }

  void TearDown() override {
    StoryImagePipeline::shared().resetForTesting();
    SdkTest::TearDown();
  }

  nlohmann::json bannerJson(long long id, const std::string& type, const std::vector<ItemPlan>& plans,
                            long long autoplaySeconds = 5) const {
    nlohmann::json itemsJson = nlohmann::json::array();
    for (const auto& plan : plans) {
      nlohmann::json item = {{"id", plan.id},
                             {"mediaUrl", server.baseUrl().string() + "/media/" + plan.picture},
                             {"orderIndex", plan.orderIndex},
                             {"ctaType", plan.ctaType}};
      if (plan.ctaUrl) item["ctaUrl"] = *plan.ctaUrl;
      itemsJson.push_back(item);
    }
    return {{"id", id},
            {"type", type},
            {"placementKey", "home_top"},
            {"viewOrder", id},
            {"autoplaySeconds", autoplaySeconds},
            {"items", itemsJson}};
  }

  void serveBanners(const std::vector<nlohmann::json>& banners) {
    std::lock_guard lock(responseMutex_);
    bannersResponse_ = {200, nlohmann::json{{"banners", banners}}.dump(), "application/json", {}, {}};
  }

  void serveStatus(int status) {
    std::lock_guard lock(responseMutex_);
    bannersResponse_ = {status, "{}", "application/json", {}, {}};
  }

  /// A view for "home_top" whose observer counts the answers of the content client.
  std::shared_ptr<BannerView> makeView() {
    auto view = BannerView::create("home_top");
    subscriptions_.push_back(view->subscribe([this](BannerViewField field) {
      if (field == BannerViewField::banners) ++loadsApplied;
    }));
    return view;
  }

  /// Waits (on the main thread's queue, never sleeping) until the next load answer has been applied.
  void awaitLoad() {
    const int target = loadsApplied + 1;
    ASSERT_TRUE(tp.mainThread->runUntil([&] { return loadsApplied >= target; }));
  }

  /// Appears and waits for the banners.
  void appearAndLoad(const std::shared_ptr<BannerView>& view) {
    view->appear();
    awaitLoad();
  }

  /// Waits until the card shows its picture.
  void awaitPicture(const std::shared_ptr<BannerView>& view) {
    ASSERT_TRUE(tp.mainThread->runUntil([&] { return view->cardImage() != nullptr; }));
  }

  /// The events of one kind that reached the host's handler, in order.
  template <class Case>
  std::vector<Case> reported() const {
    std::vector<Case> result;
    for (const auto& event : events) {
      if (auto* match = std::get_if<Case>(&event)) result.push_back(*match);
    }
    return result;
  }
  std::vector<StorySDKEvent::BannerImpression> impressions() const {
    return reported<StorySDKEvent::BannerImpression>();
  }
  std::vector<StorySDKEvent::BannerClick> clicks() const { return reported<StorySDKEvent::BannerClick>(); }

  std::vector<StorySDKEvent> events;
  int loadsApplied = 0;

 private:
  std::mutex responseMutex_;
  testsupport::ScriptedResponse bannersResponse_{200, R"({"banners":[]})", "application/json", {}, {}};
  std::string picturePng_;
  std::vector<Subscription> subscriptions_;
};

}  // namespace quenmark::bannertest
