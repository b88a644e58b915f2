#pragma once

#include <QObject>

namespace quenmark::qt {

/// Announces the Qt application's state changes to `ApplicationActivity::shared()` in the order a mobile
/// system would: leaving the active state posts `willResignActive`, reaching the hidden or suspended
/// state then posts `didEnterBackground`, and becoming active again posts `didBecomeActive`. The
/// application's first activation after it started is no return to the foreground and posts nothing: the
/// views shown then load as they appear (desktop platforms report it when the first window gets focus).
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
  bool leftForeground_ = false;  // a `willResignActive` or `didEnterBackground` has been posted
};

}  // namespace quenmark::qt
