#include "application_state_forwarder.h"

#include <quenmark/banners/application_activity.h>

#include <QGuiApplication>

namespace quenmark::qt {
namespace {

bool isBackground(Qt::ApplicationState state) {
  return state == Qt::ApplicationHidden || state == Qt::ApplicationSuspended;
}

}  // namespace

void ApplicationStateForwarder::forwardApplicationState() {
  auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (application == nullptr ||
      application->findChild<ApplicationStateForwarder*>(QString(), Qt::FindDirectChildrenOnly) != nullptr) {
    return;
  }
  new ApplicationStateForwarder(application);
}

ApplicationStateForwarder::ApplicationStateForwarder(QObject* application)
    : QObject(application), state_(QGuiApplication::applicationState()) {
  connect(static_cast<QGuiApplication*>(application), &QGuiApplication::applicationStateChanged, this,
          &ApplicationStateForwarder::applicationStateChanged);
}

void ApplicationStateForwarder::applicationStateChanged(Qt::ApplicationState state) {
  const Qt::ApplicationState previous = state_;
  state_ = state;
  auto& activity = ApplicationActivity::shared();
  if (previous == Qt::ApplicationActive && state != Qt::ApplicationActive) {
    leftForeground_ = true;
    activity.postWillResignActive();
  }
  if (isBackground(state) && !isBackground(previous)) {
    leftForeground_ = true;
    activity.postDidEnterBackground();
  }
  if (state == Qt::ApplicationActive && previous != Qt::ApplicationActive && leftForeground_) {
    activity.postDidBecomeActive();
  }
}

}  // namespace quenmark::qt
