// GoogleTest inside a QGuiApplication on the offscreen platform. The application's construction installs
// the Qt platform, as in a host; its store lives in the build tree.
#include <quenmark/platform/platform.h>

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <chrono>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("XDG_DATA_HOME", QUENMARK_QT_TEST_DATA_HOME);
  QGuiApplication application(argc, argv);
  const int result = RUN_ALL_TESTS();
  // No response may still be decoding on the session's thread while the process tears down.
  quenmark::platform::currentPlatform()->http->waitUntilIdle(std::chrono::seconds{10});
  return result;
}
