#pragma once

#include <QColor>
#include <QObject>
#include <QString>

class QJSEngine;
class QQmlEngine;

namespace quenmark::qttest {

/// What QML test files reach as the `TestSupport` singleton of `Quenmark.Stories.Testing`: pictures on the
/// local test server and, where a file wants it, virtual time. One instance per engine; the server and
/// the platforms behind it are the process's. GUI thread.
class QuickTestSupport : public QObject {
  Q_OBJECT

 public:
  /// Starts the test server and installs the Qt platform on it. Once, before any engine exists.
  static void setUpProcess();
  /// Lets transfers in flight finish. Once, after the last test.
  static void tearDownProcess();
  static QuickTestSupport* create(QQmlEngine*, QJSEngine*) { return new QuickTestSupport(); }

  /// The test server's URL for `path` ("/cover.png").
  Q_INVOKABLE QString url(const QString& path) const;
  /// Serves at `path` a `width` x `height` PNG whose top half is `top` and bottom half `bottom`.
  Q_INVOKABLE void servePicture(const QString& path, const QColor& top, const QColor& bottom, int width, int height);
  /// The same, answered only once `release(path)` is called.
  Q_INVOKABLE void holdPicture(const QString& path, const QColor& top, const QColor& bottom, int width, int height);
  Q_INVOKABLE void release(const QString& path);
  /// Answers `path` with a 404 error page.
  Q_INVOKABLE void serveFailure(const QString& path);
  Q_INVOKABLE int requestCount(const QString& path) const;

  /// From now on the SDK's timers run on virtual time (tasks still run on the GUI thread) and the
  /// platform keeps its store in memory and records opened URLs and console lines.
  Q_INVOKABLE void useVirtualTime();
  /// Moves virtual time forward, firing the timers that fall due (`useVirtualTime` first).
  Q_INVOKABLE void advance(double seconds);
};

}  // namespace quenmark::qttest
