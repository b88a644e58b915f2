#include "cli/commands.h"

#include "cli/content_output.h"
#include "cli/event_output.h"
#include "cli/sdk_host.h"
#include "net/story_api.h"

#include <quenmark/platform/platform.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/stories/story_bar_view_model.h>
#include <quenmark/stories/story_viewer_view_model.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

namespace quenmark::cli {
namespace {

// How long the console host waits at most for reports still on the wire; never past the command's timeout.
constexpr std::chrono::milliseconds kReportDrainTimeout{10000};
// A user takes a moment before answering or swiping; the headless player does too.
constexpr double kInteractionDelaySeconds = 0.4;

void printLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int fail(const std::string& description) {
  std::fprintf(stderr, "%s\n", description.c_str());
  return 1;
}

// The end of the command's time: every wait of a command, the one for reports included, ends by then.
class Deadline {
 public:
  // Capped at about three years, so that any --timeout fits the clock.
  explicit Deadline(double seconds)
      : end_(std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                    std::chrono::duration<double>(std::min(seconds, 1e8)))) {}
  std::chrono::milliseconds remaining() const {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds{0});
  }

 private:
  std::chrono::steady_clock::time_point end_;
};

void drainReports(const Deadline& deadline) {
  auto platform = platform::currentPlatform();
  platform->http->waitUntilIdle(std::min(kReportDrainTimeout, deadline.remaining()));
  platform->store->flush();
}

// Waits on the run loop for one asynchronous result of the content client.
template <class T, class Start>
std::optional<Result<T>> await(SdkHost& host, const Deadline& deadline, Start start) {
  std::optional<Result<T>> outcome;
  start([&](Result<T> result) { outcome.emplace(std::move(result)); });
  host.loop->runUntil([&] { return outcome.has_value(); }, deadline.remaining());
  return outcome;
}

int runStories(SdkHost& host, const Invocation& invocation, const Deadline& deadline) {
  StoryAPI api;
  auto outcome = await<std::vector<StoryGroup>>(
      host, deadline, [&](auto done) { api.fetchStories(invocation.command.arguments[0], done); });
  if (!outcome) return fail("Timed out waiting for the stories.");
  if (!outcome->ok()) return fail(outcome->error().description);
  if (invocation.command.json)
    printLine(storiesJson(outcome->value()).dump(2));
  else
    std::fputs(storiesTable(outcome->value()).c_str(), stdout);
  return 0;
}

int runBanners(SdkHost& host, const Invocation& invocation, const Deadline& deadline) {
  StoryAPI api;
  auto outcome = await<std::vector<Banner>>(
      host, deadline, [&](auto done) { api.fetchBanners(invocation.command.arguments[0], done); });
  if (!outcome) return fail("Timed out waiting for the banners.");
  if (!outcome->ok()) return fail(outcome->error().description);
  if (invocation.command.json)
    printLine(bannersJson(outcome->value()).dump(2));
  else
    std::fputs(bannersTable(outcome->value()).c_str(), stdout);
  return 0;
}

int runVote(SdkHost& host, const Invocation& invocation, const Deadline& deadline) {
  auto outcome = await<VoteResponse>(host, deadline, [&](auto done) {
    StorySDK::shared().recordVote(invocation.command.arguments[0], invocation.command.arguments[1], done);
  });
  if (!outcome) return fail("Timed out waiting for the vote.");
  if (!outcome->ok()) return fail(outcome->error().description);
  if (invocation.command.json)
    printLine(voteJson(outcome->value()).dump());
  else
    std::fputs(voteText(outcome->value()).c_str(), stdout);
  return 0;
}

// The option `answer` picks among `options`, if any.
std::optional<std::string> chooseOption(const Answer& answer, const std::vector<WidgetOption>& options) {
  if (options.empty()) return std::nullopt;
  switch (answer.kind) {
    case Answer::Kind::none: return std::nullopt;
    case Answer::Kind::first: return options.front().id();
    case Answer::Kind::last: return options.back().id();
    case Answer::Kind::index:
      if (static_cast<size_t>(answer.index) < options.size()) return options[static_cast<size_t>(answer.index)].id();
      return std::nullopt;
  }
  return std::nullopt;
}

// Plays a placement like a user who watches every item to its end.
class HeadlessPlayer {
 public:
  HeadlessPlayer(SdkHost& host, const Invocation& invocation, const Deadline& deadline)
      : host_(host), invocation_(invocation), deadline_(deadline) {}

  int run() {
    const std::string& placement = invocation_.command.arguments[0];
    auto bar = StoryBarViewModel::create(placement);
    bool loadStarted = false;
    bar->load();
    loadStarted = bar->isLoading();
    host_.loop->runUntil([&] { return !bar->isLoading(); }, deadline_.remaining());
    if (loadStarted && bar->isLoading()) return fail("Timed out loading the story bar.");
    if (bar->groups().empty()) {
      return fail(bar->errorMessage() ? *bar->errorMessage() : "Placement '" + placement + "' has no story groups.");
    }
    for (const auto& group : bar->groups()) bar->trackImpression(group);

    size_t index = static_cast<size_t>(invocation_.command.group.value_or(0));
    bar->selectGroup(static_cast<std::ptrdiff_t>(index));
    if (!bar->selectedGroupIndex()) {
      return fail("Group " + std::to_string(index) + " does not exist; the placement has " +
                  std::to_string(bar->groups().size()) + " groups.");
    }

    viewer_ =
        StoryViewerViewModel::create(bar->groups(), static_cast<std::ptrdiff_t>(*bar->selectedGroupIndex()), placement);
    viewer_->setOpenURLAction([this](const Url& url) { announce("open " + url.string()); });
    auto subscription = viewer_->subscribe([this](StoryViewerViewModel::Field field) {
      if (field == StoryViewerViewModel::Field::currentItemIndex ||
          field == StoryViewerViewModel::Field::currentGroupIndex) {
        scheduleInteraction();
      }
    });
    bar->setViewerPresented(true);
    viewer_->start();
    scheduleInteraction();
    bool closed = host_.loop->runUntil([&] { return viewer_->shouldDismiss(); }, deadline_.remaining());
    bar->setViewerPresented(false);
    interaction_.reset();
    subscription.cancel();
    viewer_.reset();
    if (!closed) return fail("Timed out before the viewer closed.");
    announce("dismissed");
    return 0;
  }

 private:
  void announce(const std::string& text) {
    if (invocation_.command.eventsJson)
      printLine(nlohmann::json{{"player", text}}.dump());
    else
      printLine("# " + text);
  }

  // Answers or swipes on the item that just became current, after a short pause.
  void scheduleInteraction() {
    interaction_.reset();
    if (!viewer_ || viewer_->shouldDismiss()) return;
    const StoryItem* item = viewer_->currentItem();
    if (item == nullptr) return;
    std::string itemId = item->id();
    std::weak_ptr<StoryViewerViewModel> weakViewer = viewer_;
    interaction_ =
        platform::currentPlatform()->mainThread->schedule(kInteractionDelaySeconds, false, [this, weakViewer, itemId] {
          auto viewer = weakViewer.lock();
          if (!viewer || viewer->currentItem() == nullptr || viewer->currentItem()->id() != itemId) return;
          interact(*viewer, *viewer->currentItem());
        });
  }

  void interact(StoryViewerViewModel& viewer, const StoryItem& item) {
    switch (item.widgetType()) {
      case WidgetType::poll:
      case WidgetType::quiz:
        if (viewer.acceptsVote()) {
          if (auto option = chooseOption(invocation_.command.answer, item.widgetOptions())) {
            announce("vote " + item.id() + " " + *option);
            viewer.vote(*option);
          }
        }
        break;
      case WidgetType::swipe:
        if (invocation_.command.swipe) {
          announce("swipe up " + item.id());
          viewer.handleSwipeUp();
        }
        break;
      case WidgetType::none: break;
    }
  }

  SdkHost& host_;
  const Invocation& invocation_;
  const Deadline& deadline_;
  std::shared_ptr<StoryViewerViewModel> viewer_;
  std::unique_ptr<platform::Timer> interaction_;
};

}  // namespace

int runCommand(const Invocation& invocation) {
  Deadline deadline(invocation.command.timeoutSeconds);
  auto host = startSdk(invocation.global);
  if (!host) return fail(host.error().description);

  const Command& command = invocation.command;
  StorySDK::shared().setEventHandler([json = command.eventsJson](const StorySDKEvent& event) {
    printLine(json ? eventJson(event).dump() : eventLine(event));
  });

  int status = 1;
  if (command.name == "stories")
    status = runStories(host.value(), invocation, deadline);
  else if (command.name == "banners")
    status = runBanners(host.value(), invocation, deadline);
  else if (command.name == "vote")
    status = runVote(host.value(), invocation, deadline);
  else if (command.name == "play")
    status = HeadlessPlayer(host.value(), invocation, deadline).run();
  drainReports(deadline);
  return status;
}

}  // namespace quenmark::cli
