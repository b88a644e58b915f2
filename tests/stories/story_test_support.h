#pragma once

// Shared set-up of the story view model tests: a configured SDK on the virtual-time test platform, the
// service played by a TestHttpServer on 127.0.0.1, story content that exists both as model values and as
// the service's JSON, and one ordered log of everything the SDK reports:
//
//   "host:<event> <group>[/<item>]"       the host's event handler
//   "analytics:<eventType> <group>[/<item>]"  an analytics record, in the order it was sent
//   "sdk:<eventType> <group>[/<item>]"    an SDK event, in the order it was sent
//   "vote:<item> <option>"                a vote request
//   "fetch:<placement>"                   a stories request
//
// Ids appear under the short names the test gave them. Image requests are kept apart (`imagePaths`).

#include "test_http_server.h"

#include "net/placement_url.h"
#include "sdk/story_sdk_testing.h"

#include <quenmark/model/story_group.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/net/story_image_pipeline.h>
#include <quenmark/platform/http_session.h>
#include <quenmark/sdk/story_environment.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/sdk/story_ui_strings.h>
#include <quenmark/stories/story_viewer_view_model.h>
#include <quenmark/testing/test_platform.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenmark::storytest {

inline constexpr const char* kPlacement = "home";
inline constexpr const char* kAppKey = "app-key";

/// Story content with short names for its ids. Gives the groups as model values (what a host or the bar
/// hands to the viewer) and as the body of a stories response (what the service sends).
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

  StoryContent& group(const std::string& name) {
    groups_.push_back({name, {}});
    idFor(name);
    return *this;
  }
  StoryContent& item(ItemPlan plan) {
    idFor(plan.name);
    for (const auto& option : plan.options) idFor(option.name);
    groups_.back().second.push_back(std::move(plan));
    return *this;
  }
  StoryContent& plain(const std::string& name, double duration = 5.0) {
    return item(ItemPlan{name, duration, WidgetType::none, {}, std::nullopt, std::nullopt});
  }
  StoryContent& poll(const std::string& name, std::vector<Option> options) {
    return item(ItemPlan{name, 5.0, WidgetType::poll, std::move(options), std::nullopt, std::nullopt});
  }
  StoryContent& quiz(const std::string& name, std::vector<Option> options) {
    return item(ItemPlan{name, 5.0, WidgetType::quiz, std::move(options), std::nullopt, std::nullopt});
  }
  StoryContent& swipe(const std::string& name, std::optional<std::string> callback) {
    return item(ItemPlan{name, 5.0, WidgetType::swipe, {}, std::move(callback), std::nullopt});
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
  Url mediaUrl(const std::string& itemName) const {
    return mediaBase_.appendingPathComponent("media").appendingPathComponent(itemName + ".png");
  }

  std::vector<StoryGroup> groups() const {
    std::vector<StoryGroup> result;
    for (const auto& [groupName, plans] : groups_) {
      std::vector<StoryItem> items;
      for (const auto& plan : plans) {
        std::vector<WidgetOption> options;
        std::int64_t order = 0;
        for (const auto& option : plan.options) {
          options.emplace_back(id(option.name), option.name, std::nullopt, order++, std::nullopt, option.voteCount);
        }
        std::optional<WidgetUserVote> userVote;
        if (plan.userVote) userVote = WidgetUserVote(id(*plan.userVote), std::chrono::system_clock::time_point{});
        std::optional<Url> callback;
        if (plan.swipeCallback) callback = Url::parse(*plan.swipeCallback);
        items.emplace_back(id(plan.name), std::nullopt, std::nullopt, StoryMediaType::image, mediaUrl(plan.name),
                           plan.duration, std::nullopt, std::nullopt, plan.widget, std::nullopt, callback,
                           std::move(options), std::move(userVote));
      }
      std::optional<Url> cover = items.empty() ? std::nullopt : items.front().mediaURL();
      result.emplace_back(id(groupName), groupName, StoryTheme::defaultTheme(), cover, std::move(items));
    }
    return result;
  }

  /// The stories response body (durations in whole seconds, as the service sends them).
  std::string json() const {
    nlohmann::json groups = nlohmann::json::array();
    for (const auto& [groupName, plans] : groups_) {
      nlohmann::json items = nlohmann::json::array();
      for (const auto& plan : plans) {
        nlohmann::json item{{"id", id(plan.name)},
                            {"type", "IMAGE"},
                            {"durationSeconds", static_cast<std::int64_t>(plan.duration)},
                            {"widgetType", std::string(rawValue(plan.widget))},
                            {"media", {{"mediaType", "IMAGE"}, {"mediaUrl", mediaUrl(plan.name).string()}}}};
        if (plan.swipeCallback) item["swipeCallbackUrl"] = *plan.swipeCallback;
        if (!plan.options.empty()) {
          nlohmann::json options = nlohmann::json::array();
          std::int64_t order = 0;
          for (const auto& option : plan.options) {
            options.push_back({{"id", id(option.name)},
                               {"text", option.name},
                               {"orderIndex", order++},
                               {"voteCount", option.voteCount}});
          }
          item["widgetOptions"] = options;
        }
        if (plan.userVote) item["userVote"] = {{"optionId", id(*plan.userVote)}};
        items.push_back(item);
      }
      groups.push_back({{"id", id(groupName)}, {"title", groupName}, {"items", items}});
    }
    return nlohmann::json{{"groups", groups}}.dump();
  }

 private:
  const std::string& idFor(const std::string& name) {
    auto found = ids_.find(name);
    if (found != ids_.end()) return found->second;
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012zx", ids_.size() + 1);
    return ids_.emplace(name, text).first->second;
  }

  Url mediaBase_;
  std::vector<std::pair<std::string, std::vector<ItemPlan>>> groups_;
  std::map<std::string, std::string> ids_;
};

/// One ordered log of reports and requests, written from the main thread (host handler, request sends)
/// and read by the test.
class ReportLog {
 public:
  void add(std::string line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(std::move(line));
  }
  void addImage(std::string path) {
    std::lock_guard lock(mutex_);
    images_.push_back(std::move(path));
  }
  /// The lines so far, which are then forgotten.
  std::vector<std::string> take() {
    std::lock_guard lock(mutex_);
    return std::exchange(lines_, {});
  }
  std::vector<std::string> imagePaths() const {
    std::lock_guard lock(mutex_);
    return images_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::vector<std::string> images_;
};

/// The platform's HTTP session with a note of every request in the order the SDK sent it (the server
/// may receive concurrent transfers in another order). Requests still go to the real session.
class SendOrderRecorder final : public platform::HttpSession {
 public:
  using Describe = std::function<void(const platform::HttpRequest&)>;
  SendOrderRecorder(std::shared_ptr<platform::HttpSession> inner, Describe describe)
      : inner_(std::move(inner)), describe_(std::move(describe)) {}
  bool waitUntilIdle(std::chrono::milliseconds timeout) override { return inner_->waitUntilIdle(timeout); }
  void send(platform::HttpRequest request, platform::HttpCompletion completion) override {
    describe_(request);
    const std::string path = request.url.path();
    const bool counted = path.ends_with("/stories") || path.ends_with("/vote");
    if (!counted) {
      inner_->send(std::move(request), std::move(completion));
      return;
    }
    // Counted after the completion returned, by which time the SDK has queued its main-thread task.
    inner_->send(std::move(request), [completion = std::move(completion), done = done_](platform::HttpResult result) {
      completion(std::move(result));
      done->fetch_add(1);
      // Wakes a test waiting on the main thread for this count.
      platform::currentPlatform()->mainThread->post([] {});
    });
  }
  /// Stories and vote transfers whose completion has run.
  int completed() const { return done_->load(); }

 private:
  std::shared_ptr<platform::HttpSession> inner_;
  Describe describe_;
  std::shared_ptr<std::atomic<int>> done_ = std::make_shared<std::atomic<int>>(0);
};

/// A configured SDK on the test platform, talking to `server`, with the report log in place.
class StoryTest : public ::testing::Test {
 protected:
  StoryTest() : content(server.baseUrl()) {}

  void SetUp() override {
    recorder = std::make_shared<SendOrderRecorder>(
        tp.http, [this](const platform::HttpRequest& request) { describeRequest(request); });
    tp.http = recorder;
    tp.install(server.baseUrl());
    resetStorySDKForTesting();
    StoryImagePipeline::shared().resetForTesting();
    server.on("POST", "/sdk/v1/events", response(200, "{}"));
    server.on("POST", std::string("/sdk/v1/apps/") + kAppKey + "/events", response(200, "{}"));
    StorySDK::shared().configure(StoryConfiguration("sdk-key", kAppKey, StoryEnvironment::production, std::nullopt,
                                                    std::nullopt, std::nullopt, StoryUIStrings::defaultStrings(),
                                                    false));
    StorySDK::shared().setEventHandler([this](const StorySDKEvent& event) { log.add("host:" + describe(event)); });
  }

  void TearDown() override {
    releaseStories();
    resetStorySDKForTesting();
    StoryImagePipeline::shared().resetForTesting();
  }

  static testsupport::ScriptedResponse response(int status, std::string body) {
    testsupport::ScriptedResponse scripted;
    scripted.status = status;
    scripted.body = std::move(body);
    return scripted;
  }

  /// A viewer on the content's groups, as the bar opens it after loading them (the load registers the
  /// groups' placement, which analytics needs).
  std::shared_ptr<StoryViewerViewModel> openViewer(std::ptrdiff_t startIndex = 0) {
    auto groups = content.groups();
    StorySDK::shared().registerPlacement(groups, kPlacement);
    return StoryViewerViewModel::create(std::move(groups), startIndex, kPlacement);
  }

  /// Lets the service answer stories requests for the placement with `body` (status 200 unless given).
  void serveStories(const std::string& body, int status = 200) {
    {
      std::lock_guard lock(script_->mutex);
      script_->response = response(status, body);
    }
    // The handler runs on the server's threads and may outlive the test body: it shares the script.
    server.on("GET", storiesPath(), [script = script_](const testsupport::RecordedRequest&) {
      std::unique_lock lock(script->mutex);
      script->gate.wait_for(lock, std::chrono::seconds(5), [&] { return !script->held; });
      return script->response;
    });
  }
  /// Stories requests wait for `releaseStories()` before they are answered.
  void holdStories() {
    std::lock_guard lock(script_->mutex);
    script_->held = true;
  }
  void releaseStories() {
    {
      std::lock_guard lock(script_->mutex);
      script_->held = false;
    }
    script_->gate.notify_all();
  }
  std::string storiesPath() const {
    return placementURL(server.baseUrl(), kAppKey, kPlacement, "stories", StoryEnvironment::production,
                        tp.device->current())
        .path();
  }
  /// Lets the service answer votes on the item called `itemName` with `response`.
  void serveVote(const std::string& itemName, testsupport::ScriptedResponse response) {
    server.on("POST", std::string("/sdk/v1/apps/") + kAppKey + "/story-items/" + content.id(itemName) + "/vote",
              std::move(response));
  }

  /// Waits until `count` stories and vote transfers have completed, then runs the main-thread tasks they
  /// queued.
  bool waitForTransfers(int count) {
    const bool done = tp.mainThread->runUntil([&] { return recorder->completed() >= count; });
    tp.mainThread->runPending();
    return done;
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

  void describeRequest(const platform::HttpRequest& request) {
    const std::string path = request.url.path();
    if (path.rfind("/media/", 0) == 0) {
      log.addImage(path);
      return;
    }
    if (path.ends_with("/stories")) {
      log.add(std::string("fetch:") + kPlacement);
      return;
    }
    if (path.ends_with("/vote")) {
      auto body = nlohmann::json::parse(request.body.value_or("{}"), nullptr, false);
      const std::string itemId = path.substr(0, path.size() - 5).substr(path.rfind('/', path.size() - 6) + 1);
      log.add("vote:" + content.name(itemId) + " " + content.name(body.value("optionId", std::string())));
      return;
    }
    auto body = nlohmann::json::parse(request.body.value_or("{}"), nullptr, false);
    std::string kind = path == "/sdk/v1/events" ? "sdk:" : "analytics:";
    std::string text = kind + body.value("eventType", std::string("?"));
    if (body.contains("storyGroupId")) text += " " + content.name(body["storyGroupId"].get<std::string>());
    if (body.contains("storyItemId")) text += "/" + content.name(body["storyItemId"].get<std::string>());
    log.add(std::move(text));
  }

  testsupport::TestHttpServer server;
  testing::TestPlatform tp;
  std::shared_ptr<SendOrderRecorder> recorder;
  StoryContent content;
  ReportLog log;

 private:
  struct StoriesScript {
    std::mutex mutex;
    std::condition_variable gate;
    bool held = false;
    testsupport::ScriptedResponse response;
  };
  std::shared_ptr<StoriesScript> script_ = std::make_shared<StoriesScript>();
};

using Lines = std::vector<std::string>;

}  // namespace quenmark::storytest
