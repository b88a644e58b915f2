// A QML host that uses only the installed package: the Qt platform is in place once its application
// exists, it configures the SDK, and it shows a StoryRemoteImage from the installed QML module offscreen
// with a picture from a small local server, until the picture's pixels are on screen.
#include <quenmark/quenmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>
#include <cstdio>

using namespace quenmark;

static int failed(const char* what) {
  std::printf("quick consumer check failed: %s\n", what);
  return 1;
}

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (!platform::isPlatformInstalled()) return failed("the Qt platform is not installed");
  StorySDK::shared().configure(StoryConfiguration("sdk-key", "app-key", StoryEnvironment::production, std::nullopt,
                                                  std::nullopt, std::nullopt, StoryUIStrings::defaultStrings(), false));

  // Every request gets the same green PNG.
  QImage green(8, 8, QImage::Format_RGB32);
  green.fill(Qt::green);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  green.save(&buffer, "PNG");
  QTcpServer server;
  if (!server.listen(QHostAddress::LocalHost)) return failed("listen");
  QObject::connect(&server, &QTcpServer::newConnection, [&] {
    QTcpSocket* socket = server.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, &png] {
      if (!socket->readAll().contains("\r\n\r\n")) return;
      socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nConnection: close\r\nContent-Length: " +
                    QByteArray::number(png.size()) + "\r\n\r\n" + png);
      socket->disconnectFromHost();
    });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  });

  QQmlApplicationEngine engine;
  engine.addImportPath(QStringLiteral(QUENMARK_QML_IMPORT_DIR));
  engine.setInitialProperties(
      {{"pictureUrl", QUrl(QStringLiteral("http://127.0.0.1:%1/picture.png").arg(server.serverPort()))}});
  engine.load(QUrl::fromLocalFile(QStringLiteral(CONSUMER_QML_FILE)));
  if (engine.rootObjects().isEmpty()) return failed("the QML host did not load");
  auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());

  int result = 1;
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, [&] {
    if (window->property("failed").toBool()) {
      result = failed("the picture did not load");
    } else if (window->grabWindow().pixelColor(32, 32) == QColor(Qt::green)) {
      std::puts("quick consumer ok");
      result = 0;
    } else {
      return;
    }
    QCoreApplication::exit(result);
  });
  check.start(50);
  QTimer::singleShot(std::chrono::seconds{30}, [&] { QCoreApplication::exit(failed("timed out")); });
  QGuiApplication::exec();
  platform::currentPlatform()->http->waitUntilIdle(std::chrono::seconds{5});
  return result;
}
