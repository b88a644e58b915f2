// quenmark-demo: the sample recipe-box app as a Qt Quick host of the SDK would be written. It configures
// the SDK once in main(), loads a home screen with a story bar, banners and the host events, and offers
// settings for the user id, the locale and the preview mode. Unless given --base-url it runs the
// reference content service in-process with the sample content; with --screenshots DIR it renders
// offscreen, goes through the app as a user would and writes pictures of what it saw.
#include "demo_options.h"
#include "embedded_service.h"
#include "host_session.h"
#include "locale_device_info.h"
#include "screenshot_tour.h"

#include <quenmark/platform/platform.h>
#include <quenmark/qt/qt_platform.h>

#include <QDir>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTextStream>

#include <chrono>
#include <cstdio>
#include <memory>
#include <variant>

using namespace quenmark;
using namespace quenmark::demo;

namespace {

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;

int fail(const QString& message) {
  QTextStream(stderr) << "quenmark-demo: " << message << '\n';
  return kFailureStatus;
}

QStringList argumentsOf(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  return arguments;
}

bool hasDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Offscreen pictures: Qt's software renderer (the same picture on every machine) at twice the window's size.
void prepareOffscreen() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
  if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
}

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = parseDemoOptions(argumentsOf(argc, argv), QStringLiteral(QUENMARK_SAMPLE_CONTENT));
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    QTextStream(stderr) << "quenmark-demo: " << error->message << "\n\n" << demoUsage();
    return kUsageStatus;
  }
  const DemoOptions& options = std::get<DemoOptions>(parsed);
  if (options.help) {
    QTextStream(stdout) << demoUsage();
    return 0;
  }
  const bool screenshots = !options.screenshotDir.isEmpty();
  if (screenshots) {
    prepareOffscreen();
  } else if (!hasDisplay()) {
    return fail(QStringLiteral("no display to open a window on; try --screenshots DIR"));
  }

  // The Qt platform is installed while the application is constructed.
  QGuiApplication application(argc, argv);
  QGuiApplication::setApplicationName(QStringLiteral("Basilwick"));
  QTemporaryDir work;
  if (!work.isValid()) return fail(QStringLiteral("cannot create a temporary directory"));

  std::unique_ptr<EmbeddedService> service;
  QUrl baseUrl;
  if (options.baseUrl) {
    baseUrl = *options.baseUrl;
  } else {
    auto started = EmbeddedService::start(options.contentFile.toStdString(),
                                          QDir(work.path()).filePath(QStringLiteral("service.sqlite3")).toStdString());
    if (!started) return fail(QString::fromStdString(started.error()));
    service = std::move(started).value();
    baseUrl = QUrl(QString::fromStdString(service->origin()));
  }

  // This host's own platform options: the service, a data directory that lives as long as the run (so
  // every run starts without remembered votes), and a locale the settings can change.
  platform::DefaultPlatformOptions platformOptions;
  platformOptions.serviceBaseUrl = Url::parse(baseUrl.toString().toStdString());
  if (!platformOptions.serviceBaseUrl) return fail(QStringLiteral("unusable service URL %1").arg(baseUrl.toString()));
  platformOptions.dataDirectory = QDir(work.path()).filePath(QStringLiteral("sdk")).toStdString();
  platformOptions.device.bundleIdentifier = "com.basilwick.demo";
  platformOptions.device.shortVersion = "1.0";
  platform::Platform qtPlatform = qt::makeQtPlatform(platformOptions);
  auto device = std::make_shared<LocaleDeviceInfo>(qtPlatform.device);
  qtPlatform.device = device;
  platform::installPlatform(qtPlatform);

  int status = 0;
  {
    HostSession session({options.appKey, options.sdkKey}, device, baseUrl.toString());

    QQuickStyle::setStyle(QStringLiteral("Material"));
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral(QUENMARK_QML_IMPORT_DIR));
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.setInitialProperties({{QStringLiteral("session"), QVariant::fromValue(&session)}});
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/QuenmarkDemo/qml/Main.qml")));
    auto* window = engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(engine.rootObjects()[0]);
    if (window == nullptr) return fail(QStringLiteral("the home screen did not load"));

    if (screenshots) {
      ScreenshotTour tour(window, session.events(), QDir(options.screenshotDir));
      QObject::connect(&tour, &ScreenshotTour::finished, &application, [&tour](const QString& error) {
        QTextStream out(stdout);
        for (const QString& path : tour.written()) out << path << '\n';
        if (!error.isEmpty()) QTextStream(stderr) << "quenmark-demo: " << error << '\n';
        QCoreApplication::exit(error.isEmpty() ? 0 : kFailureStatus);
      });
      tour.start();
      status = QGuiApplication::exec();
    } else {
      QTextStream(stdout) << "Content service: " << baseUrl.toString() << '\n' << Qt::flush;
      status = QGuiApplication::exec();
    }
  }

  // Stopping: reports still in flight reach the service, votes reach the disk.
  auto current = platform::currentPlatform();
  current->http->waitUntilIdle(std::chrono::seconds{5});
  current->store->flush();
  return status;
}
