#include <quenmark/banners/application_activity.h>

#include "platform/main_thread_check.h"

namespace quenmark {

ApplicationActivity& ApplicationActivity::shared() {
  static ApplicationActivity* const instance = new ApplicationActivity();  // lives until the process ends
  return *instance;
}

void ApplicationActivity::postDidBecomeActive() {
  QUENMARK_ASSERT_MAIN_THREAD();
  notifyChanged(ApplicationEvent::didBecomeActive);
}

void ApplicationActivity::postWillResignActive() {
  QUENMARK_ASSERT_MAIN_THREAD();
  notifyChanged(ApplicationEvent::willResignActive);
}

void ApplicationActivity::postDidEnterBackground() {
  QUENMARK_ASSERT_MAIN_THREAD();
  notifyChanged(ApplicationEvent::didEnterBackground);
}

}  // namespace quenmark
