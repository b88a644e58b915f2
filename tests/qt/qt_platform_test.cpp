#include <quenmark/banners/application_activity.h>
#include <quenmark/platform/platform.h>

#include "qt_event_loop.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <thread>
#include <tuple>
#include <vector>

namespace quenmark {
namespace {

using qttest::runEventsUntil;

TEST(QtPlatform, InstalledWithTheApplicationRunsTasksFromAnyThreadInOrder) {
  ASSERT_TRUE(platform::isPlatformInstalled());
  auto main = platform::currentPlatform()->mainThread;
  std::vector<int> ran;  // touched on the main thread only
  bool allOnMain = true;
  bool posterOnMain = true;
  std::thread poster([&] {
    posterOnMain = main->isMainThread();
    for (int i = 0; i < 100; ++i) {
      main->post([&, i] {
        allOnMain = allOnMain && main->isMainThread();
        ran.push_back(i);
      });
    }
  });
  poster.join();
  main->post([&] { main->post([&] { ran.push_back(100); }); });
  EXPECT_TRUE(ran.empty());  // never inline

  ASSERT_TRUE(runEventsUntil([&] { return ran.size() == 101; }));
  EXPECT_FALSE(posterOnMain);
  EXPECT_TRUE(allOnMain);
  for (int i = 0; i <= 100; ++i) EXPECT_EQ(ran[std::size_t(i)], i);
}

TEST(QtPlatform, TimersFireOnTheMainThreadUntilInvalidated) {
  auto main = platform::currentPlatform()->mainThread;
  int dropped = 0, once = 0, repeated = 0;
  main->schedule(0, false, [&] { ++dropped; }).reset();  // released before it was due
  auto single = main->schedule(0.001, false, [&] { ++once; });
  std::unique_ptr<platform::Timer> repeating = main->schedule(0.001, true, [&] {
    if (++repeated == 3) repeating.reset();  // a callback may destroy its own timer
  });
  ASSERT_TRUE(runEventsUntil([&] { return once == 1 && !repeating; }));
  EXPECT_FALSE(single->isValid());
  bool later = false;  // whatever else was due fires before this
  auto last = main->schedule(0.02, false, [&] { later = true; });
  ASSERT_TRUE(runEventsUntil([&] { return later; }));
  EXPECT_EQ((std::tuple{dropped, once, repeated}), (std::tuple{0, 1, 3}));
}

TEST(QtPlatform, ApplicationStatesAreAnnouncedAsAMobileSystemWould) {
  using enum ApplicationEvent;
  auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  std::vector<ApplicationEvent> events;
  auto subscription = ApplicationActivity::shared().subscribe([&](ApplicationEvent e) { events.push_back(e); });
  const std::pair<Qt::ApplicationState, std::vector<ApplicationEvent>> steps[] = {
      {Qt::ApplicationActive, {}},  // starting is no return: the banners that appear load once
      {Qt::ApplicationInactive, {willResignActive}},
      {Qt::ApplicationHidden, {didEnterBackground}},
      {Qt::ApplicationActive, {didBecomeActive}},
      {Qt::ApplicationSuspended, {willResignActive, didEnterBackground}},
      {Qt::ApplicationInactive, {}},
      {Qt::ApplicationActive, {didBecomeActive}},
  };
  for (const auto& [state, announced] : steps) {
    events.clear();
    Q_EMIT application->applicationStateChanged(state);
    EXPECT_EQ(events, announced) << "state " << int(state);
  }
}

}  // namespace
}  // namespace quenmark
