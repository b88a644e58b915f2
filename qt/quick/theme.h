#pragma once

#include "banner_metrics.h"
#include "story_bar_metrics.h"
#include "story_viewer_metrics.h"
#include "widget_metrics.h"

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QFont>
#include <QObject>

class QJSEngine;
class QQmlEngine;

namespace quenmark::qt {

/// The `Theme` singleton: every number, colour and font a view of the module draws with, read from the
/// core, so that QML files hold no literals of their own. Add one `CONSTANT` property per core constant
/// a view needs. One instance per engine, owned by it; GUI thread.
class Theme : public QObject {
  Q_OBJECT
  QML_ELEMENT
  QML_SINGLETON
  Q_PROPERTY(QColor defaultPrimaryColor READ defaultPrimaryColor CONSTANT FINAL)
  Q_PROPERTY(QColor defaultSecondaryColor READ defaultSecondaryColor CONSTANT FINAL)
  Q_PROPERTY(quenmark::qt::StoryBarMetrics bar READ bar CONSTANT FINAL)
  Q_PROPERTY(quenmark::qt::StoryViewerMetrics viewer READ viewer CONSTANT FINAL)
  Q_PROPERTY(quenmark::qt::WidgetMetrics widget READ widget CONSTANT FINAL)
  Q_PROPERTY(quenmark::qt::BannerMetrics banner READ banner CONSTANT FINAL)

 public:
  static Theme* create(QQmlEngine* engine, QJSEngine* scriptEngine);

  /// The accent colours of groups the service sends no theme for.
  QColor defaultPrimaryColor() const;
  QColor defaultSecondaryColor() const;

  /// The story bar's sizes and colours.
  StoryBarMetrics bar() const { return {}; }
  /// The story viewer's sizes, colours and timings.
  StoryViewerMetrics viewer() const { return {}; }
  /// The poll, quiz and swipe-up widgets' sizes, colours and timings.
  WidgetMetrics widget() const { return {}; }
  /// The banner card's indicators and drag distance.
  BannerMetrics banner() const { return {}; }

  /// The default theme's font at `size` with `weight` (`Font.Normal`, `Font.Bold`, ...).
  Q_INVOKABLE QFont font(qreal size, int weight) const;

 private:
  Theme() = default;
};

}  // namespace quenmark::qt
