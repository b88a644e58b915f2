#pragma once

#include <quenmark/banners/banner_card_layout.h>
#include <quenmark/banners/banner_view.h>
#include <quenmark/export.h>
#include <quenmark/stories/observable.h>

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QImage>
#include <QObject>
#include <QQmlParserStatus>
#include <QString>
#include <QVariantList>

#include <memory>
#include <optional>

namespace quenmark::qt {

/// One dot of the carousel indicator, inside the indicator's frame.
class BannerDotValue {
  Q_GADGET
  QML_VALUE_TYPE(bannerDot)
  QML_UNCREATABLE("Read it from BannerCarouselModel.dots.")
  Q_PROPERTY(qreal x MEMBER x CONSTANT FINAL)
  Q_PROPERTY(qreal y MEMBER y CONSTANT FINAL)
  Q_PROPERTY(qreal width MEMBER width CONSTANT FINAL)
  Q_PROPERTY(qreal height MEMBER height CONSTANT FINAL)
  Q_PROPERTY(QColor color MEMBER color CONSTANT FINAL)

 public:
  qreal x = 0;
  qreal y = 0;
  qreal width = 0;
  qreal height = 0;
  QColor color;
};

/// One segment of the story indicator, inside the indicator's frame: its track, and the fill drawn from
/// its left edge.
class BannerSegmentValue {
  Q_GADGET
  QML_VALUE_TYPE(bannerSegment)
  QML_UNCREATABLE("Read it from BannerCarouselModel.segments.")
  Q_PROPERTY(qreal x MEMBER x CONSTANT FINAL)
  Q_PROPERTY(qreal width MEMBER width CONSTANT FINAL)
  Q_PROPERTY(qreal fillWidth MEMBER fillWidth CONSTANT FINAL)

 public:
  qreal x = 0;
  qreal width = 0;
  qreal fillWidth = 0;
};

/// The adapter behind `BannerView`: owns the core's `quenmark::BannerView` for `placementKey` and
/// publishes the card it draws at `availableWidth`: its height, picture, indicator and accessible name.
///
/// The core model is made when QML completes the adapter, and made anew for a new `placementKey`
/// (which starts over, impressions included). While `shown` the slot is on screen: it loads (every time it comes back),
/// plays its items, and reloads when the application returns to the foreground (the Qt platform announces that). The
/// view forwards taps, finished drags and arrow keys. Exported for the binding's tests, which drive the
/// core model directly. GUI thread only; every signal is emitted there.
class QUENMARK_EXPORT BannerCarouselModel : public QObject, public QQmlParserStatus {
  Q_OBJECT
  Q_INTERFACES(QQmlParserStatus)
  QML_ELEMENT
  // Set by the view.
  Q_PROPERTY(QString placementKey READ placementKey WRITE setPlacementKey NOTIFY placementKeyChanged FINAL)
  Q_PROPERTY(bool shown READ isShown WRITE setShown NOTIFY shownChanged FINAL)
  Q_PROPERTY(qreal availableWidth READ availableWidth WRITE setAvailableWidth NOTIFY availableWidthChanged FINAL)
  // The card.
  Q_PROPERTY(bool present READ isPresent NOTIFY cardChanged FINAL)
  Q_PROPERTY(qreal cardHeight READ cardHeight NOTIFY cardChanged FINAL)
  Q_PROPERTY(qreal cornerRadius READ cornerRadius NOTIFY cardChanged FINAL)
  Q_PROPERTY(int bannerIndex READ bannerIndex NOTIFY cardChanged FINAL)
  Q_PROPERTY(int itemIndex READ itemIndex NOTIFY cardChanged FINAL)
  Q_PROPERTY(QString accessibleName READ accessibleName NOTIFY cardChanged FINAL)
  // The indicator over it.
  Q_PROPERTY(Indicator indicator READ indicator NOTIFY indicatorChanged FINAL)
  // Qt 6.4's type information has no QRectF: the frame as four numbers.
  Q_PROPERTY(qreal indicatorX READ indicatorX NOTIFY indicatorChanged FINAL)
  Q_PROPERTY(qreal indicatorY READ indicatorY NOTIFY indicatorChanged FINAL)
  Q_PROPERTY(qreal indicatorWidth READ indicatorWidth NOTIFY indicatorChanged FINAL)
  Q_PROPERTY(qreal indicatorHeight READ indicatorHeight NOTIFY indicatorChanged FINAL)
  Q_PROPERTY(QVariantList dots READ dots NOTIFY indicatorChanged FINAL)
  Q_PROPERTY(QVariantList segments READ segments NOTIFY indicatorChanged FINAL)

 public:
  /// The indicator over the card: none (static banners, a single item), dots (carousels) or segments
  /// (story banners).
  enum class Indicator { NoIndicator, Dots, Segments };
  Q_ENUM(Indicator)

  explicit BannerCarouselModel(QObject* parent = nullptr);
  ~BannerCarouselModel() override;

  QString placementKey() const { return placementKey_; }
  void setPlacementKey(const QString& key);
  /// The slot is visible in a window: true makes it appear (and load), false disappear.
  bool isShown() const { return shown_; }
  void setShown(bool shown);
  /// The width the slot spans; the card's height follows from it.
  qreal availableWidth() const { return availableWidth_; }
  void setAvailableWidth(qreal width);

  /// A card is shown; without one the slot is empty and takes no height.
  bool isPresent() const;
  qreal cardHeight() const;
  qreal cornerRadius() const;
  /// Where the shown item sits: its banner in the loaded list, and it among the banner's playable items.
  /// Both -1 without a card.
  int bannerIndex() const;
  int itemIndex() const;
  /// "Banner 2 of 3" (the item among the banner's playable items), followed by what a tap opens, if
  /// anything.
  QString accessibleName() const;

  Indicator indicator() const;
  /// The indicator's frame in the card's coordinates; empty without an indicator.
  qreal indicatorX() const { return indicatorFrame().x; }
  qreal indicatorY() const { return indicatorFrame().y; }
  qreal indicatorWidth() const { return indicatorFrame().width; }
  qreal indicatorHeight() const { return indicatorFrame().height; }
  /// `bannerDot` values, left to right; empty unless the indicator is dots.
  QVariantList dots() const;
  /// `bannerSegment` values, left to right; empty unless the indicator is segments.
  QVariantList segments() const;

  /// The shown item's picture, without copying it; null while it loads, after it failed and without a
  /// card. `pictureChanged` tells of a change.
  QImage picture() const;
  /// The picture is letter-boxed in the card (fit) rather than cropped to it (fill).
  bool picturesFit() const;

  /// The core model, once made.
  std::shared_ptr<BannerView> bannerView() const { return model_; }

  /// A tap on the card: reports the click and opens the item's link when its type opens one.
  Q_INVOKABLE void tap();
  /// A drag on the card ended with translation (`dx`, `dy`): a swipe to the next or previous item, or
  /// nothing.
  Q_INVOKABLE void endDrag(qreal dx, qreal dy);
  /// The next or previous item, across banners and wrapping, as a swipe moves (the arrow keys).
  Q_INVOKABLE void next();
  Q_INVOKABLE void previous();

  void classBegin() override {}
  void componentComplete() override;

 Q_SIGNALS:
  void placementKeyChanged();
  void shownChanged();
  void availableWidthChanged();
  /// What is shown, or its size, may have changed (everything but the picture).
  void cardChanged();
  /// The indicator may have changed (also on every progress step of story banners).
  void indicatorChanged();
  void pictureChanged();
  /// A load failed with `message`; the slot is empty until a later load delivers banners.
  void loadFailed(const QString& message);

 private:
  void makeModel();
  std::optional<BannerCardLayout> layout() const;
  BannerRect indicatorFrame() const;

  QString placementKey_;
  bool shown_ = false;
  qreal availableWidth_ = 0;
  bool completed_ = false;
  std::shared_ptr<BannerView> model_;
  Subscription subscription_;
};

}  // namespace quenmark::qt
