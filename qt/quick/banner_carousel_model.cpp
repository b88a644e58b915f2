#include "banner_carousel_model.h"

#include "image_wrapping.h"
#include "qt_conversions.h"

#include <quenmark/banners/banner_call_to_action.h>

#include <QPointer>

namespace quenmark::qt {

BannerCarouselModel::BannerCarouselModel(QObject* parent) : QObject(parent) {}

BannerCarouselModel::~BannerCarouselModel() {
  if (model_) model_->disappear();
}

void BannerCarouselModel::setPlacementKey(const QString& key) {
  if (key == placementKey_) return;
  placementKey_ = key;
  if (completed_) makeModel();
  Q_EMIT placementKeyChanged();
}

void BannerCarouselModel::setShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  if (model_) shown ? model_->appear() : model_->disappear();
  Q_EMIT shownChanged();
}

void BannerCarouselModel::setAvailableWidth(qreal width) {
  if (width == availableWidth_) return;
  availableWidth_ = width;
  Q_EMIT availableWidthChanged();
  Q_EMIT cardChanged();
  Q_EMIT indicatorChanged();
}

void BannerCarouselModel::componentComplete() {
  completed_ = true;
  makeModel();
}

void BannerCarouselModel::makeModel() {
  if (model_) model_->disappear();
  model_ = BannerView::create(placementKey_.toStdString());
  // Synchronous, on the GUI thread; QPointer covers a handler that deletes us.
  QPointer<BannerCarouselModel> self(this);
  subscription_ = model_->subscribe([self](BannerViewField field) {
    if (!self) return;
    switch (field) {
      case BannerViewField::banners:
      case BannerViewField::activeBannerIndex:
      case BannerViewField::activeItemIndex:
      case BannerViewField::invalidItemKeys:
        Q_EMIT self->cardChanged();
        Q_EMIT self->indicatorChanged();
        break;
      case BannerViewField::activeItemProgress: Q_EMIT self->indicatorChanged(); break;
      case BannerViewField::trackedImpressions: break;
      case BannerViewField::cardImage: Q_EMIT self->pictureChanged(); break;
      case BannerViewField::loadErrorMessage:
        if (const auto& message = self->model_->loadErrorMessage()) {
          Q_EMIT self->loadFailed(QString::fromStdString(*message));
        }
        break;
    }
  });
  if (shown_) model_->appear();
  Q_EMIT cardChanged();
  Q_EMIT indicatorChanged();
  Q_EMIT pictureChanged();
}

std::optional<BannerCardLayout> BannerCarouselModel::layout() const {
  if (!model_) return std::nullopt;
  return layoutBannerCard(model_->currentRenderState(), model_->activeItemProgress(), availableWidth_);
}

bool BannerCarouselModel::isPresent() const { return model_ && model_->currentRenderState().has_value(); }

qreal BannerCarouselModel::cardHeight() const {
  const auto card = layout();
  return card ? card->height : 0;
}

qreal BannerCarouselModel::cornerRadius() const {
  const auto card = layout();
  return card ? card->cornerRadius : 0;
}

int BannerCarouselModel::bannerIndex() const {
  const auto state = model_ ? model_->currentRenderState() : std::nullopt;
  return state ? state->bannerIndex : -1;
}

int BannerCarouselModel::itemIndex() const {
  const auto state = model_ ? model_->currentRenderState() : std::nullopt;
  return state ? state->activeItemIndex : -1;
}

QString BannerCarouselModel::accessibleName() const {
  const auto state = model_ ? model_->currentRenderState() : std::nullopt;
  if (!state) return {};
  QString name = tr("Banner %1 of %2").arg(state->activeItemIndex + 1).arg(state->items.size());
  if (!bannerCallToActionLink(state->item)) return name;
  switch (state->item.ctaType()) {
    case BannerCtaType::externalURL: return tr("%1, opens link").arg(name);
    case BannerCtaType::deepLink: return tr("%1, opens app").arg(name);
    case BannerCtaType::internalRoute: return tr("%1, opens page").arg(name);
    case BannerCtaType::customEvent:
    case BannerCtaType::none: break;
  }
  return name;
}

BannerCarouselModel::Indicator BannerCarouselModel::indicator() const {
  const auto card = layout();
  if (!card) return Indicator::NoIndicator;
  if (std::holds_alternative<BannerProgressIndicator>(card->indicator)) return Indicator::Dots;
  if (std::holds_alternative<BannerStoryProgressIndicator>(card->indicator)) return Indicator::Segments;
  return Indicator::NoIndicator;
}

BannerRect BannerCarouselModel::indicatorFrame() const {
  const auto card = layout();
  return card ? card->indicatorFrame : BannerRect{};
}

QVariantList BannerCarouselModel::dots() const {
  QVariantList result;
  const auto card = layout();
  const auto* dots = card ? std::get_if<BannerProgressIndicator>(&card->indicator) : nullptr;
  if (dots == nullptr) return result;
  for (const BannerDot& dot : dots->dots()) {
    result.append(QVariant::fromValue(BannerDotValue{dot.x, dot.y, dot.width, dot.height, toQColor(dot.color)}));
  }
  return result;
}

QVariantList BannerCarouselModel::segments() const {
  QVariantList result;
  const auto card = layout();
  const auto* segments = card ? std::get_if<BannerStoryProgressIndicator>(&card->indicator) : nullptr;
  if (segments == nullptr) return result;
  for (const BannerSegment& segment : segments->segments(card->indicatorFrame.width)) {
    result.append(QVariant::fromValue(BannerSegmentValue{segment.x, segment.width, segment.fillWidth}));
  }
  return result;
}

QImage BannerCarouselModel::picture() const { return model_ ? wrapImage(model_->cardImage()) : QImage(); }

bool BannerCarouselModel::picturesFit() const {
  const auto card = layout();
  return card && card->pictureScaling == BannerPictureScaling::fit;
}

void BannerCarouselModel::tap() {
  if (model_) model_->handleTap();
}

void BannerCarouselModel::endDrag(qreal dx, qreal dy) {
  if (model_) model_->handleDragEnded(dx, dy);
}

void BannerCarouselModel::next() {
  if (auto state = model_ ? model_->currentRenderState() : std::nullopt) model_->showNextItem(*state);
}

void BannerCarouselModel::previous() {
  if (auto state = model_ ? model_->currentRenderState() : std::nullopt) model_->showPreviousItem(*state);
}

}  // namespace quenmark::qt
