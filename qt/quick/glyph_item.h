#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QQuickPaintedItem>
#include <QString>

namespace quenmark::qt {

/// One of the module's small vector glyphs (pause, close, photo, check, ...), drawn on a 24 x 24 grid
/// and scaled to the item, in one item: a filled outline, round-capped lines, or a disc with a mark cut
/// into it in `knockoutColor` (transparent leaves a plain disc). An unknown name draws nothing.
///
/// Internal to the module's views, behind `Glyph.qml`. Properties on the GUI thread; `paint` runs on
/// the render thread while the GUI thread waits, as for every painted item.
class GlyphItem : public QQuickPaintedItem {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged FINAL)
  Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged FINAL)
  Q_PROPERTY(QColor knockoutColor READ knockoutColor WRITE setKnockoutColor NOTIFY knockoutColorChanged FINAL)

 public:
  explicit GlyphItem(QQuickItem* parent = nullptr);

  QString name() const { return name_; }
  void setName(const QString& name);
  QColor color() const { return color_; }
  void setColor(const QColor& color);
  QColor knockoutColor() const { return knockoutColor_; }
  void setKnockoutColor(const QColor& color);

  void paint(QPainter* painter) override;

 Q_SIGNALS:
  void nameChanged();
  void colorChanged();
  void knockoutColorChanged();

 private:
  QString name_;
  QColor color_ = Qt::white;
  QColor knockoutColor_ = Qt::transparent;
};

}  // namespace quenmark::qt
