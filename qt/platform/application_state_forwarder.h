#pragma once

#include <QObject>

namespace quenmark::qt {

/// Announces the Qt application's state changes to `ApplicationActivity::shared()` in the order a mobile
/// system would: leaving the active state posts `willResignActive`, reaching the hidden or suspended
/// state then posts `didEnterBackground`, and becoming active again posts `didBecomeActive`.
///
/// One per application, a child of it (`forwardApplicationState`). Runs on the GUI thread.
class ApplicationStateForwarder final : public QObject {
  Q_OBJECT

 public:
  /// Starts forwarding for the current `QGuiApplication` unless that already happens. Without a
  /// `QGuiApplication` there are no states to forward and nothing happens.
  static void forwardApplicationState();

 private:
  explicit ApplicationStateForwarder(QObject* application);
  void applicationStateChanged(Qt::ApplicationState state);

  Qt::ApplicationState state_;
};

}  // namespace quenmark::qt
