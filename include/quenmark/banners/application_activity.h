#pragma once

#include <quenmark/export.h>
#include <quenmark/stories/observable.h>

namespace quenmark {

/// What the application told the SDK about its own state. Observers handle the events they care about
/// and ignore the others.
enum class ApplicationEvent {
  /// The application became active (came back to the foreground).
  didBecomeActive,
  /// The application is about to stop being active: it lost focus, or is on its way to the background.
  willResignActive,
  /// The application went to the background: its windows are hidden or it is suspended.
  didEnterBackground,
};

/// The process-wide place where the host (or its toolkit adapter) announces application state changes,
/// and where views that care subscribe while they are in the hierarchy.
///
/// Main thread only: announce there; observers are called there, synchronously, in subscription order.
class QUENMARK_EXPORT ApplicationActivity final : public ObservableObject<ApplicationEvent> {
 public:
  /// The single instance, created on first use.
  static ApplicationActivity& shared();

  /// Announces that the application became active. Call it from the platform's "became active"
  /// notification (for example when the window regains focus after the application was in the
  /// background).
  void postDidBecomeActive();
  /// Announces that the application stops being active (before it goes to the background, too).
  void postWillResignActive();
  /// Announces that the application went to the background.
  void postDidEnterBackground();

 private:
  ApplicationActivity() = default;
};

}  // namespace quenmark
