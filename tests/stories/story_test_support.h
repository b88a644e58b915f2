#pragma once

// Shared set-up of the story view model tests: a configured SDK on the virtual-time test platform, the
// service played by a TestHttpServer on 127.0.0.1, story content that exists both as model values and as
// the service's JSON, and one ordered log of everything the SDK reports, written when it is sent:
//
//   "host:<event> <group>[/<item>]"           the host's event handler
//   "analytics:<eventType> <group>[/<item>]"  an analytics record
//   "sdk:<eventType> <group>[/<item>]"        an SDK event
//   "vote:<item> <option>"                    a vote request
//   "fetch:home"                              a stories request
//
// Ids appear under the short names the test gave them. Image requests are kept apart (`imagePaths`).

#include "sdk_test_fixture.h"

#include "sdk/story_sdk_testing.h"

#include <quenmark/model/story_group.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/stories/story_viewer_view_model.h>
#include <quenmark/testing/test_platform.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quenmark::storytest {

inline constexpr const char* kPlacement = "home";
inline constexpr const char* kStoriesPath = "/sdk/v1/apps/app-key/placements/home/stories";

/// Story content with short names for its ids, as model values (what a host or the bar hands to the
/// viewer) and as the body of a stories response (what the service sends). Pictures are
/// "/media/<name>.png" on the test server.
class StoryContent {
 public:
  struct Option {
    std::string name;
    std::int64_t voteCount = 0;
  };
  struct ItemPlan {
    std::string name;
    double duration = 5.0;
    WidgetType widget = WidgetType::none;
    std::vector<Option> options;
    std::optional<std::string> swipeCallback;
    std::optional<std::string> userVote;  // option name
  };

  explicit StoryContent(Url mediaBase) : mediaBase_(std::move(mediaBase)) {}

  /// A group; its cover is the first item's picture unless `cover` names another one (the service's
  /// records have no cover of their own, so only the model values carry it).
  StoryContent& group(const std::string& name, std::optional<std::string> cover = std::nullopt) {
    groups_.push_back({name, std::move(cover), {}});
    idFor(name);
    return *this;
  }
  StoryContent& item(ItemPlan plan) {
    idFor(plan.name);
    for (const auto& option : plan.options) idFor(option.name);
    groups_.back().items.push_back(std::move(plan));
    return *this;
  }
  StoryContent& plain(const std::string& name, double duration = 5.0) { return item({name, duration}); }
  StoryContent& poll(const std::string& name, std::vector<Option> options) {
    return item({name, 5.0, WidgetType::poll, std::move(options)});
  }
  StoryContent& quiz(const std::string& name, std::vector<Option> options) {
    return item({name, 5.0, WidgetType::quiz, std::move(options)});
  }
  StoryContent& swipe(const std::string& name, std::optional<std::string> callback) {
    return item({name, 5.0, WidgetType::swipe, {}, std::move(callback)});
  }

  /// The lower-case UUID text that stands for `name`.
  std::string id(const std::string& name) const { return ids_.at(name); }
  /// The short name of an id, or the id itself when it has none.
  std::string name(const std::string& id) const {
    for (const auto& [key, value] : ids_) {
      if (value == id) return key;
    }
    return id;
  }
  Url mediaUrl(const std::string& name) const {
    return mediaBase_.appendingPathComponent("media").appendingPathComponent(name + ".png");
  }

  std::vector<StoryGroup> groups() const {
    std::vector<StoryGroup> result;
    for (const auto& group : groups_) {
      std::vector<StoryItem> items;
      for (const auto& plan : group.items) {
        std::vector<WidgetOption> options;
        for (const auto& option : plan.options) {
          options.emplace_back(id(option.name), option.name, std::nullopt, static_cast<std::int64_t>(options.size()),
                               std::nullopt, option.voteCount);
        }
        std::optional<WidgetUserVote> userVote;
        if (plan.userVote) userVote = WidgetUserVote(id(*plan.userVote), std::chrono::system_clock::time_point{});
        std::optional<Url> callback;
        if (plan.swipeCallback) callback = Url::parse(*plan.swipeCallback);
        items.emplace_back(id(plan.name), std::nullopt, std::nullopt, StoryMediaType::image, mediaUrl(plan.name),
                           plan.duration, std::nullopt, std::nullopt, plan.widget, std::nullopt, callback,
                           std::move(options), std::move(userVote));
      }
      std::optional<Url> cover = group.cover ? mediaUrl(*group.cover) : std::optional<Url>();
      if (!group.cover && !items.empty()) cover = items.front().mediaURL();
      result.emplace_back(id(group.name), group.name, StoryTheme::defaultTheme(), cover, std::move(items));
    }
    return result;
  }

  /// The stories response body (durations in whole seconds, as the service sends them).
  std::string json() const {
    nlohmann::json groups = nlohmann::json::array();
    for (const auto& group : groups_) {
      nlohmann::json items = nlohmann::json::array();
      for (const auto& plan : group.items) {
        nlohmann::json item{{"id", id(plan.name)},
                            {"type", "IMAGE"},
                            {"durationSeconds", static_cast<std::int64_t>(plan.duration)},
                            {"widgetType", std::string(rawValue(plan.widget))},
                            {"media", {{"mediaType", "IMAGE"}, {"mediaUrl", mediaUrl(plan.name).string()}}}};
        if (plan.swipeCallback) item["swipeCallbackUrl"] = *plan.swipeCallback;
        for (const auto& option : plan.options) {
          item["widgetOptions"].push_back({{"id", id(option.name)},
                                           {"text", option.name},
                                           {"orderIndex", item["widgetOptions"].size()},
                                           {"voteCount", option.voteCount}});
        }
        if (plan.userVote) item["userVote"] = {{"optionId", id(*plan.userVote)}};
        items.push_back(item);
      }
      groups.push_back({{"id", id(group.name)}, {"title", group.name}, {"items", items}});
    }
    return nlohmann::json{{"groups", groups}}.dump();
  }

 private:
  struct GroupPlan {
    std::string name;
    std::optional<std::string> cover;
    std::vector<ItemPlan> items;
  };

  const std::string& idFor(const std::string& name) {
    auto found = ids_.find(name);
    if (found != ids_.end()) return found->second;
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012zx", ids_.size() + 1);
    return ids_.emplace(name, text).first->second;
  }

  Url mediaBase_;
  std::vector<GroupPlan> groups_;
  std::map<std::string, std::string> ids_;
};

/// A configured SDK on the test platform, talking to `server`, with the report log in place.
class StoryTest : public sdktest::SdkTest {
 protected:
  StoryTest() : content(server.baseUrl()) {}

  void SetUp() override {
    SdkTest::SetUp();
    http->setObserver([this](const platform::HttpRequest& request) { describeRequest(request); });
    StoryImagePipeline::shared().resetForTesting();
    sdk().configure(sdktest::makeConfiguration());
    sdk().setEventHandler([this](const StorySDKEvent& event) { add("host:" + describe(event)); });
  }

  void TearDown() override {
    releaseStories();
    StoryImagePipeline::shared().resetForTesting();
    SdkTest::TearDown();
  }

  /// A viewer on the content's groups, as the bar opens it after loading them (the load registers the
  /// groups' placement, which analytics needs).
  std::shared_ptr<StoryViewerViewModel> openViewer(std::ptrdiff_t startIndex = 0) {
    auto groups = content.groups();
    StorySDK::shared().registerPlacement(groups, kPlacement);
    return StoryViewerViewModel::create(std::move(groups), startIndex, kPlacement);
  }

  /// Lets the service answer stories requests with `body`; `held` answers wait for `releaseStories()`.
  void serveStories(const std::string& body, int status = 200, bool held = false) {
    auto gate = std::make_shared<testsupport::Gate>();  // shared: the handler may outlive the test body
    if (!held) gate->open();
    storiesGate_ = gate;
    server.on("GET", kStoriesPath, [gate, response = testsupport::reply(status, body)](const auto&) {
      gate->waitUntilOpen();
      return response;
    });
  }
  void releaseStories() {
    if (storiesGate_) storiesGate_->open();
  }
  /// Lets the service answer votes on the item called `itemName`.
  void serveVote(const std::string& itemName, testsupport::ScriptedResponse response) {
    server.on("POST", "/sdk/v1/apps/app-key/story-items/" + content.id(itemName) + "/vote", std::move(response));
  }

  /// Lets every transfer finish and runs the main-thread tasks their completions queued, until nothing
  /// more happens (a completion may start another transfer).
  bool settle() {
    for (int round = 0; round < 10; ++round) {
      if (!http->waitUntilIdle(std::chrono::seconds{10})) return false;
      if (tp.mainThread->runPending() == 0) return true;
    }
    return false;
  }

  /// Advances virtual time one playback period at a time until `changed()` holds; returns the number of
  /// periods (ticks), or -1 after `limit`.
  template <class Predicate>
  int ticksUntil(Predicate changed, int limit = 1000) {
    for (int ticks = 1; ticks <= limit; ++ticks) {
      tp.mainThread->advance(0.05);
      if (changed()) return ticks;
    }
    return -1;
  }

  /// The log lines so far, which are then forgotten.
  std::vector<std::string> take() {
    std::lock_guard lock(logMutex_);
    return std::exchange(lines_, {});
  }
  std::vector<std::string> imagePaths() const {
    std::lock_guard lock(logMutex_);
    return images_;
  }

  StoryContent content;

 private:
  void add(std::string line) {
    std::lock_guard lock(logMutex_);
    lines_.push_back(std::move(line));
  }

  std::string describe(const StorySDKEvent& event) const {
    static constexpr const char* kNames[] = {
        "storyGroupImpression", "storyOpen",  "storyItemImpression", "storyClose",
        "storyCompleted",       "pollViewed", "pollVoted",           "quizViewed",
        "quizAnswered",         "swipeUp",    "bannerImpression",    "bannerClick"};
    std::string text = kNames[event.index()];
    std::visit(
        [&](const auto& c) {
          if constexpr (requires { c.groupId; }) text += " " + content.name(c.groupId);
          if constexpr (requires { c.itemId; }) text += "/" + content.name(c.itemId);
        },
        event.asVariant());
    return text;
  }

  // Runs on the thread that sends the request: the main thread, or the image pipeline's for pictures.
  void describeRequest(const platform::HttpRequest& request) {
    const std::string path = request.url.path();
    if (path.starts_with("/media/")) {
      std::lock_guard lock(logMutex_);
      images_.push_back(path);
      return;
    }
    if (path == kStoriesPath) return add("fetch:home");
    auto body = nlohmann::json::parse(request.body.value_or("{}"), nullptr, false);
    if (path.ends_with("/vote")) {
      const std::string itemId = path.substr(path.rfind('/', path.size() - 6) + 1, 36);
      return add("vote:" + content.name(itemId) + " " + content.name(body.value("optionId", std::string())));
    }
    std::string text = (path == "/sdk/v1/events" ? "sdk:" : "analytics:") + body.value("eventType", std::string("?"));
    if (body.contains("storyGroupId")) text += " " + content.name(body["storyGroupId"].get<std::string>());
    if (body.contains("storyItemId")) text += "/" + content.name(body["storyItemId"].get<std::string>());
    add(std::move(text));
  }

  std::shared_ptr<testsupport::Gate> storiesGate_;
  mutable std::mutex logMutex_;
  std::vector<std::string> lines_;
  std::vector<std::string> images_;
};

using Lines = std::vector<std::string>;

/// Where a viewer is: the group's and the item's index and the item's progress.
using At = std::tuple<std::size_t, std::size_t, double>;
inline At at(const StoryViewerViewModel& viewer) {
  return {viewer.currentGroupIndex(), viewer.currentItemIndex(), viewer.progress()};
}

}  // namespace quenmark::storytest
