#pragma once

#include "event_log_model.h"

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace quenmark::demo {

class LocaleDeviceInfo;

/// The demo's side of the SDK session: configures `StorySDK` once with the app's keys, and applies the
/// settings screen the way a host applies a sign-in or a preference change: a new user id through
/// `updateSession`, a new locale (device locale and widget words) or preview switch through `configure`.
/// After either, `generation` grows and the home screen makes its SDK views again, so that they fetch
/// content for the new identity. GUI thread only.
class HostSession : public QObject {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("The demo's main() makes the session.")
  Q_PROPERTY(QString userId READ userId NOTIFY settingsChanged FINAL)
  Q_PROPERTY(QString locale READ locale NOTIFY settingsChanged FINAL)
  Q_PROPERTY(bool previewMode READ isPreviewMode NOTIFY settingsChanged FINAL)
  Q_PROPERTY(int generation READ generation NOTIFY settingsChanged FINAL)
  Q_PROPERTY(QStringList locales READ locales CONSTANT FINAL)
  Q_PROPERTY(QString serviceOrigin READ serviceOrigin CONSTANT FINAL)
  Q_PROPERTY(quenmark::demo::EventLogModel* events READ events CONSTANT FINAL)

 public:
  struct Keys {
    QString appKey;
    QString sdkKey;
  };

  /// Configures the SDK (user "demo-user", the first locale, preview off) and installs the event log as
  /// its event handler.
  HostSession(Keys keys, std::shared_ptr<LocaleDeviceInfo> device, QString serviceOrigin, QObject* parent = nullptr);

  QString userId() const { return userId_; }
  QString locale() const { return locale_; }
  bool isPreviewMode() const { return previewMode_; }
  int generation() const { return generation_; }
  QStringList locales() const;
  QString serviceOrigin() const { return serviceOrigin_; }
  EventLogModel* events() const { return events_; }

  /// Applies the settings; nothing happens when none changed. A blank user id signs the user out: the
  /// SDK then uses its anonymous id.
  Q_INVOKABLE void apply(const QString& userId, const QString& locale, bool previewMode);

 Q_SIGNALS:
  void settingsChanged();

 private:
  void configure();

  Keys keys_;
  std::shared_ptr<LocaleDeviceInfo> device_;
  QString serviceOrigin_;
  QString userId_ = QStringLiteral("demo-user");
  QString locale_;
  bool previewMode_ = false;
  int generation_ = 0;
  EventLogModel* events_;
};

}  // namespace quenmark::demo
