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

/// One item as the service sends it; its picture is "/media/<picture>" on the test server, where
/// "ok-N.png" (N up to 12) answers with an image and anything else with 404.
struct ItemPlan {
  long long id;
  long long orderIndex;
  std::string picture;
  std::string ctaType = "NONE";
  std::optional<std::string> ctaUrl;
};

/// `count` items with ids and order 1..count and pictures "<prefix>-<id>.png".
inline std::vector<ItemPlan> items(int count, const std::string& prefix = "ok") {
  std::vector<ItemPlan> result;
  for (int i = 1; i <= count; ++i) result.push_back({i, i, prefix + "-" + std::to_string(i) + ".png"});
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
    const std::string png = testsupport::encodePng(testsupport::makeTestPicture(4, 2));
    for (int i = 1; i <= 12; ++i)
      server.on("GET", "/media/ok-" + std::to_string(i) + ".png", testsupport::reply(200, png, "image/png"));
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
    serve(testsupport::reply(200, nlohmann::json{{"banners", banners}}.dump()));
  }
  void serve(testsupport::ScriptedResponse response) {
    std::lock_guard lock(responseMutex_);
    bannersResponse_ = std::move(response);
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
  void appearAndLoad(const std::shared_ptr<BannerView>& view) {
    view->appear();
    awaitLoad();
  }
  /// Waits until the card shows a picture.
  void awaitPicture(const std::shared_ptr<BannerView>& view) {
    ASSERT_TRUE(tp.mainThread->runUntil([&] { return view->cardImage() != nullptr; }));
  }
  /// A view on screen with `banners` loaded and its first picture shown.
  std::shared_ptr<BannerView> showing(const std::vector<nlohmann::json>& banners) {
    serveBanners(banners);
    auto view = makeView();
    appearAndLoad(view);
    awaitPicture(view);
    return view;
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

  std::vector<StorySDKEvent> events;
  int loadsApplied = 0;

 private:
  std::mutex responseMutex_;
  testsupport::ScriptedResponse bannersResponse_ = testsupport::reply(200, R"({"banners":[]})");
  std::vector<Subscription> subscriptions_;
};

}  // namespace quenmark::bannertest
