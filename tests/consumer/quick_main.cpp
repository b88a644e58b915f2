// A QML host that uses only the installed package: the Qt platform is in place once its application
// exists, and a StoryRemoteImage from the QML module in the prefix shows its placeholder offscreen.
#include <quenmark/platform/platform.h>

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (!quenmark::platform::isPlatformInstalled()) {
    std::puts("quick consumer check failed: the Qt platform is not installed");
    return 1;
  }
  QQmlApplicationEngine engine;
  engine.addImportPath(QStringLiteral(QUENMARK_QML_IMPORT_DIR));
  engine.loadData(R"(
    import QtQuick
    import QtQuick.Window
    import Quenmark.Stories
    Window {
        width: 64; height: 64; visible: true; color: "black"
        StoryRemoteImage { anchors.fill: parent; placeholder: Rectangle { color: "lime" } }
    })");
  auto* window = engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(engine.rootObjects()[0]);
  if (window == nullptr) {
    std::puts("quick consumer check failed: the QML host did not load");
    return 1;
  }
  QTimer check;  // until the placeholder is on screen
  QObject::connect(&check, &QTimer::timeout, [window] {
    if (window->grabWindow().pixelColor(32, 32) == QColor(Qt::green)) QCoreApplication::exit(0);
  });
  check.start(20);
  QTimer::singleShot(std::chrono::seconds{30}, [] { QCoreApplication::exit(1); });
  const int result = QGuiApplication::exec();
  std::puts(result == 0 ? "quick consumer ok" : "quick consumer check failed: nothing shown");
  return result;
}
