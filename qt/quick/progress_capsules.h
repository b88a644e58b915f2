#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QList>
#include <QQuickPaintedItem>
#include <QVariantAnimation>

namespace quenmark::qt {

/// The story viewer's progress, in one item: a row of capsules as tall as the item, `spacing` apart, each
/// filled from the left to its value in `fills` (0 to 1). New fills glide from the shown ones over
/// `glideMilliseconds`, at the display's rate, so that the model's ticks look like one movement; a new
/// number of capsules shows at once.
///
/// Internal to `StoryViewerView`. GUI thread; `paint` runs on the render thread while the GUI thread
/// waits, as for every painted item.
class ProgressCapsules : public QQuickPaintedItem {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(QList<qreal> fills READ fills WRITE setFills NOTIFY fillsChanged FINAL)
  Q_PROPERTY(qreal spacing READ spacing WRITE setSpacing NOTIFY spacingChanged FINAL)
  Q_PROPERTY(QColor trackColor READ trackColor WRITE setTrackColor NOTIFY trackColorChanged FINAL)
  Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor NOTIFY fillColorChanged FINAL)
  Q_PROPERTY(
      int glideMilliseconds READ glideMilliseconds WRITE setGlideMilliseconds NOTIFY glideMillisecondsChanged FINAL)

 public:
  explicit ProgressCapsules(QQuickItem* parent = nullptr);

  /// The fills asked for (the glide ends there).
  QList<qreal> fills() const { return to_; }
  void setFills(const QList<qreal>& fills);
  qreal spacing() const { return spacing_; }
  void setSpacing(qreal spacing);
  QColor trackColor() const { return trackColor_; }
  void setTrackColor(const QColor& color);
  QColor fillColor() const { return fillColor_; }
  void setFillColor(const QColor& color);
  int glideMilliseconds() const { return glide_.duration(); }
  void setGlideMilliseconds(int milliseconds);

  void paint(QPainter* painter) override;

 Q_SIGNALS:
  void fillsChanged();
  void spacingChanged();
  void trackColorChanged();
  void fillColorChanged();
  void glideMillisecondsChanged();

 private:
  /// The fill of capsule `index` as shown now.
  qreal shownFill(qsizetype index) const;

  QList<qreal> from_;  // where the running glide started
  QList<qreal> to_;
  QVariantAnimation glide_;  // 0 to 1 from `from_` to `to_`
  qreal spacing_ = 0;
  QColor trackColor_;
  QColor fillColor_;
};

}  // namespace quenmark::qt
