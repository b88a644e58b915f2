#pragma once

#include "remote_image_model.h"

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QMetaObject>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QSize>

namespace quenmark::qt {

/// The picture a `RemoteImageModel` holds, scaled to fill this item (cropped) or to fit it
/// (letter-boxed), inside a rectangle whose corners are rounded by `radius`, with antialiased edges.
///
/// `StoryRemoteImage` draws its picture with it when given a radius: on the software renderer Qt Quick
/// clips to rectangles only, so rounded crops are painted. The scaled picture is kept until the picture,
/// the size or the mode changes. Without a model it has no contents and costs no frame anything. Properties on the GUI
/// thread; `paint` runs on the render thread while the GUI thread waits, as for every painted item.
class RoundedPicture : public QQuickPaintedItem {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(quenmark::qt::RemoteImageModel* model READ model WRITE setModel NOTIFY modelChanged FINAL)
  Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged FINAL)
  Q_PROPERTY(bool fill READ fills WRITE setFill NOTIFY fillChanged FINAL)
  Q_PROPERTY(bool hasPicture READ hasPicture NOTIFY hasPictureChanged FINAL)

 public:
  explicit RoundedPicture(QQuickItem* parent = nullptr);

  RemoteImageModel* model() const { return model_; }
  void setModel(RemoteImageModel* model);
  qreal radius() const { return radius_; }
  void setRadius(qreal radius);
  /// True scales the picture to cover the item and crops it; false fits it whole inside.
  bool fills() const { return fill_; }
  void setFill(bool fill);
  bool hasPicture() const;

  void paint(QPainter* painter) override;

 Q_SIGNALS:
  void modelChanged();
  void radiusChanged();
  void fillChanged();
  void hasPictureChanged();

 private:
  QPointer<RemoteImageModel> model_;
  QMetaObject::Connection statusConnection_;
  qreal radius_ = 0;
  bool fill_ = true;
  QImage source_;  // the picture `scaled_` was made from, kept so that its pixels stay where they are
  QImage scaled_;
};

}  // namespace quenmark::qt
