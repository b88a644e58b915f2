// The minimal QML host of docs/INTEGRATING.md, using only the installed package: the Qt platform is in
// place once its application exists, the SDK is configured before QML loads, and a StoryBarView and a
// BannerView from the QML module in the prefix show the placement served by a small content service on
// 127.0.0.1, offscreen (the bar's bubbles; the banner slot stays empty).
#include <quenmark/platform/http_session.h>
#include <quenmark/platform/platform.h>
#include <quenmark/sdk/story_sdk.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QHostAddress>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

// One group whose bubble is square and ringed in pure green; its picture does not load, so the
// placeholder shows inside the ring.
constexpr char kStories[] = R"({"groups": [{"id": "8f14e45f-ceea-467f-a0e6-7b7c1f1c0a01", "title": "Launch week",
  "theme": {"progressStyle": "BAR", "bubbleStyle": "SQUARE", "primaryColor": "#00FF00", "secondaryColor": "#00FF00",
            "ctaStyle": "FILLED"},
  "items": [{"id": "7e0b3f1a-5c2d-4a8e-b6f4-100000000001", "type": "IMAGE",
             "media": {"mediaType": "IMAGE", "mediaUrl": "http://127.0.0.1:9/none.png"}}]}]})";

// Answers every request with the stories, then closes the connection.
void serve(QTcpServer& server) {
  QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
    while (QTcpSocket* socket = server.nextPendingConnection()) {
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
        socket->readAll();
        const QByteArray body(kStories);
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
      });
      QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

bool showsRing(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);  // rows without padding
  const auto* pixels = reinterpret_cast<const QRgb*>(argb.constBits());
  const auto* end = pixels + std::size_t(argb.width()) * std::size_t(argb.height());
  return std::find(pixels, end, qRgb(0, 255, 0)) != end;
}

int failed(const char* what) {
  std::printf("quick consumer check failed: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (!quenmark::platform::isPlatformInstalled()) return failed("the Qt platform is not installed");
  auto service = std::make_unique<QTcpServer>();
  serve(*service);
  if (!service->listen(QHostAddress::LocalHost)) return failed("no local port");
  quenmark::platform::Platform platform = *quenmark::platform::currentPlatform();
  platform.serviceBaseUrl = *quenmark::Url::parse("http://127.0.0.1:" + std::to_string(service->serverPort()));
  quenmark::platform::installPlatform(platform);
  quenmark::StorySDK::shared().configure(
      quenmark::StoryConfiguration("sdk-key", "app-key", quenmark::StoryEnvironment::production, std::nullopt,
                                   std::nullopt, "user-1", quenmark::StoryUIStrings::defaultStrings(), false));
  quenmark::StorySDK::shared().setEventHandler([](const quenmark::StorySDKEvent&) {});

  QQmlApplicationEngine engine;
  engine.addImportPath(QStringLiteral(QUENMARK_QML_IMPORT_DIR));
  engine.loadData(R"(
    import QtQuick
    import QtQuick.Window
    import Quenmark.Stories
    Window {
        width: 200; height: 110; visible: true; color: "black"
        Column {
            width: parent.width
            StoryBarView { placementKey: "home"; width: parent.width }
            BannerView { placementKey: "home" }
        }
    })");
  auto* window = engine.rootObjects().isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(engine.rootObjects()[0]);
  if (window == nullptr) return failed("the QML host did not load");
  QTimer check;  // until the bubble's ring is on screen
  QObject::connect(&check, &QTimer::timeout, [window] {
    if (showsRing(window->grabWindow())) QCoreApplication::exit(0);
  });
  check.start(20);
  QTimer::singleShot(std::chrono::seconds{30}, [] { QCoreApplication::exit(1); });
  const int result = QGuiApplication::exec();
  service.reset();  // reports still in flight fail at once
  quenmark::platform::currentPlatform()->http->waitUntilIdle(std::chrono::seconds{5});
  quenmark::platform::currentPlatform()->store->flush();
  if (result != 0) return failed("no story bar shown");
  std::puts("quick consumer ok");
  return 0;
}
