#include "host_session.h"

#include "locale_device_info.h"
#include "widget_words.h"

#include <quenmark/sdk/story_sdk.h>

namespace quenmark::demo {

HostSession::HostSession(Keys keys, std::shared_ptr<LocaleDeviceInfo> device, QString serviceOrigin, QObject* parent)
    : QObject(parent),
      keys_(std::move(keys)),
      device_(std::move(device)),
      serviceOrigin_(std::move(serviceOrigin)),
      locale_(widgetWordLocales().front()),
      events_(new EventLogModel(this)) {
  configure();
}

QStringList HostSession::locales() const { return widgetWordLocales(); }

void HostSession::apply(const QString& userId, const QString& locale, bool previewMode) {
  const QString user = userId.trimmed();
  const bool reconfigure = locale != locale_ || previewMode != previewMode_;
  if (!reconfigure && user == userId_) return;
  userId_ = user;
  locale_ = locale;
  previewMode_ = previewMode;
  if (reconfigure) {
    configure();
  } else {
    StorySDK::shared().updateSession(std::nullopt, std::nullopt, userId_.toStdString());
  }
  ++generation_;
  Q_EMIT settingsChanged();
}

void HostSession::configure() {
  device_->setLocaleIdentifier(locale_.toStdString());
  StorySDK::shared().configure(StoryConfiguration(keys_.sdkKey.toStdString(), keys_.appKey.toStdString(),
                                                  StoryEnvironment::production, std::nullopt, std::nullopt,
                                                  userId_.toStdString(), widgetWords(locale_), previewMode_));
}

}  // namespace quenmark::demo
