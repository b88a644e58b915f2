#include "story_viewer_model.h"

#include "qt_conversions.h"

#include <quenmark/banners/application_activity.h>
#include <quenmark/platform/platform.h>
#include <quenmark/sdk/content_link.h>
#include <quenmark/stories/story_call_to_action.h>
#include <quenmark/stories/story_media_layer.h>
#include <quenmark/stories/story_progress_header.h>
#include <quenmark/stories/story_text_block.h>
#include <quenmark/stories/story_viewer_defaults.h>
#include <quenmark/stories/story_viewer_gestures.h>
#include <quenmark/stories/story_viewer_layout_constants.h>
#include <quenmark/stories/widget_layout_constants.h>

#include <QFontMetricsF>
#include <QPointer>

namespace quenmark::qt {
namespace {

QString fromStd(const std::optional<std::string>& text) { return text ? QString::fromStdString(*text) : QString(); }

}  // namespace

StoryViewerModel::StoryViewerModel(QObject* parent) : QObject(parent), card_(new WidgetCardModel(this)) {
  if (QAccessible::isActive()) holds_ |= kScreenReader;
  QAccessible::installActivationObserver(this);
  // Synchronous, on the GUI thread; QPointer covers a handler that deletes us.
  QPointer<StoryViewerModel> self(this);
  activitySubscription_ = ApplicationActivity::shared().subscribe([self](ApplicationEvent event) {
    if (!self) return;
    switch (event) {
      case ApplicationEvent::didBecomeActive: self->setHold(kApplication, false); break;
      case ApplicationEvent::willResignActive:
      case ApplicationEvent::didEnterBackground: self->setHold(kApplication, true); break;
    }
  });
}

StoryViewerModel::~StoryViewerModel() { QAccessible::removeActivationObserver(this); }

void StoryViewerModel::setGroups(const StoryGroupList& groups) {
  if (groups == groups_) return;
  groups_ = groups;
  Q_EMIT groupsChanged();
}

void StoryViewerModel::setStartIndex(int index) {
  if (index == startIndex_) return;
  startIndex_ = index;
  Q_EMIT startIndexChanged();
}

void StoryViewerModel::setPlacementKey(const QString& key) {
  if (key == placementKey_) return;
  placementKey_ = key;
  Q_EMIT placementKeyChanged();
}

void StoryViewerModel::setShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  updatePlayback();
  Q_EMIT shownChanged();
}

void StoryViewerModel::setMuted(bool muted) {
  if (muted == muted_) return;
  muted_ = muted;
  Q_EMIT mutedChanged();
}

void StoryViewerModel::componentComplete() {
  completed_ = true;
  if (model_) {
    // Made by a read while QML was still building the view: nothing has been announced yet.
    refreshCard();
    updatePlayback();
    return;
  }
  if (groups_.count() > 0 || placementKey_.trimmed().isEmpty()) {
    makeModel(groups_.groups());
    return;
  }
  // No groups: play the placement's, once they arrive (none when they fail to load).
  placement_ = StoryBarViewModel::create(placementKey_.toStdString());
  QPointer<StoryViewerModel> self(this);
  placementSubscription_ = placement_->subscribe([self](StoryBarViewModelField field) {
    if (!self || field != StoryBarViewModelField::groups || self->model_) return;
    self->makeModel(self->placement_->groups());
  });
  placement_->load();
}

void StoryViewerModel::makeModel(std::vector<StoryGroup> groups) {
  createModel(std::move(groups));
  Q_EMIT itemChanged();
  Q_EMIT progressChanged();
  refreshCard();
  updatePlayback();
}

void StoryViewerModel::createModel(std::vector<StoryGroup> groups) {
  model_ = StoryViewerViewModel::create(std::move(groups), startIndex_, placementKey_.toStdString());
  model_->setOpenURLAction([](const Url& url) { platform::currentPlatform()->urlOpener->open(url); });
  QPointer<StoryViewerModel> self(this);
  modelSubscription_ = model_->subscribe([self](StoryViewerViewModelField field) {
    if (!self) return;
    switch (field) {
      case StoryViewerViewModelField::currentGroupIndex:
      case StoryViewerViewModelField::currentItemIndex:
        Q_EMIT self->itemChanged();
        Q_EMIT self->progressChanged();
        self->refreshCard();
        break;
      case StoryViewerViewModelField::progress: Q_EMIT self->progressChanged(); break;
      case StoryViewerViewModelField::shouldDismiss:
        if (self->model_->shouldDismiss() && !self->dismissed_) {
          self->dismissed_ = true;
          Q_EMIT self->playingChanged();
          Q_EMIT self->dismissed();
        }
        break;
      case StoryViewerViewModelField::votedOptionId:
      case StoryViewerViewModelField::isVotingInProgress:
      case StoryViewerViewModelField::showResults:
      case StoryViewerViewModelField::updatedVoteCounts: self->refreshCard(); break;
    }
  });
}

StoryViewerViewModel* StoryViewerModel::model() const {
  // The view sets the groups before anything reads what it publishes, so its bindings are evaluated once,
  // on the first item, instead of once empty and again when the adapter completes.
  if (!model_ && !completed_ && groups_.count() > 0) {
    const_cast<StoryViewerModel*>(this)->createModel(groups_.groups());
  }
  return model_.get();
}

void StoryViewerModel::setHold(Hold hold, bool on) {
  const unsigned before = holds_;
  holds_ = on ? holds_ | hold : holds_ & ~hold;
  if (holds_ == before) return;
  updatePlayback();
  if (hold == kHold) Q_EMIT heldChanged();
}

void StoryViewerModel::updatePlayback() {
  if (model_ && !model_->isClosed()) {
    // The first appearance prepares the start item (and reports it) even when playback is held.
    if (shown_ && (!model_->hasStarted() || holds_ == 0)) model_->start();
    if (!shown_ || holds_ != 0) model_->pause();
  }
  Q_EMIT playingChanged();
}

void StoryViewerModel::refreshCard() {
  const StoryItem* current = item();
  std::optional<WidgetCard> card;
  if (current != nullptr) {
    const WidgetVoteState state{model_->votedOptionId(), model_->showResults(), model_->isVotingInProgress(),
                                model_->updatedVoteCounts()};
    card = widgetCard(*current, state, theme(), viewerUIStrings());
  }
  card_->setCard(std::move(card), theme());
}

void StoryViewerModel::accessibilityActiveChanged(bool active) { setHold(kScreenReader, active); }

const StoryItem* StoryViewerModel::item() const {
  const StoryViewerViewModel* model = this->model();
  return model != nullptr ? model->currentItem() : nullptr;
}

const StoryTheme& StoryViewerModel::theme() const {
  const StoryViewerViewModel* model = this->model();
  return viewerTheme(model != nullptr ? model->currentGroup() : nullptr);
}

int StoryViewerModel::groupIndex() const {
  const StoryViewerViewModel* model = this->model();
  return model != nullptr ? static_cast<int>(model->currentGroupIndex()) : 0;
}

int StoryViewerModel::itemIndex() const {
  const StoryViewerViewModel* model = this->model();
  return model != nullptr ? static_cast<int>(model->currentItemIndex()) : 0;
}

qreal StoryViewerModel::progress() const {
  const StoryViewerViewModel* model = this->model();
  return model != nullptr ? model->progress() : 0.0;
}

bool StoryViewerModel::isPlaying() const {
  const StoryViewerViewModel* model = this->model();
  return model != nullptr && model->isPlaying();
}

bool StoryViewerModel::isVideoActive() const {
  const StoryViewerViewModel* model = this->model();
  return shown_ && !(holds_ & (kHost | kApplication)) && model != nullptr && !model->isClosed();
}

QString StoryViewerModel::accessibleName() const {
  const StoryViewerViewModel* model = this->model();
  const std::size_t count = model != nullptr ? model->segmentCount() : 0;
  QString name = tr("Story %1 of %2").arg(count > 0 ? itemIndex() + 1 : 0).arg(count);
  const StoryItem* current = item();
  QString title = current != nullptr ? fromStd(current->title()) : QString();
  if (title.isEmpty()) title = groupTitle();
  return title.isEmpty() ? name : name + QStringLiteral(": ") + title;
}

QList<qreal> StoryViewerModel::progressFills() const {
  const StoryViewerViewModel* model = this->model();
  const std::size_t count = model != nullptr ? model->segmentCount() : 0;
  QList<qreal> fills;
  switch (storyProgressLayout(theme().progressStyle(), count)) {
    case StoryProgressLayout::none: break;
    case StoryProgressLayout::segments:
      for (std::size_t index = 0; index < count; ++index) fills.append(model->segmentFill(index));
      break;
    case StoryProgressLayout::track: fills.append(model != nullptr ? model->trackFill() : 0.0); break;
  }
  return fills;
}

QColor StoryViewerModel::progressTrackColor() const { return toQColor(storyProgressColors(theme()).track); }

QColor StoryViewerModel::progressFillColor() const { return toQColor(storyProgressColors(theme()).fill); }

QString StoryViewerModel::groupTitle() const {
  const StoryViewerViewModel* model = this->model();
  const StoryGroup* group = model != nullptr ? model->currentGroup() : nullptr;
  return group != nullptr ? QString::fromStdString(group->title()) : QString();
}

QFont StoryViewerModel::groupTitleFont() const {
  const StoryFont font = story_viewer_layout::kGroupTitleFont;
  return toQFont(theme().font(font.size, font.weight));
}

StoryViewerModel::MediaLayer StoryViewerModel::mediaLayer() const {
  switch (storyMediaLayer(item())) {
    case StoryMediaLayer::placeholder: return MediaLayer::Placeholder;
    case StoryMediaLayer::image: return MediaLayer::Picture;
    case StoryMediaLayer::video: return MediaLayer::Video;
  }
  return MediaLayer::Placeholder;
}

QUrl StoryViewerModel::mediaUrl() const {
  const StoryItem* current = item();
  if (current == nullptr || !current->mediaURL()) return {};
  return QUrl(QString::fromStdString(current->mediaURL()->string()), QUrl::StrictMode);
}

QColor StoryViewerModel::placeholderColor() const { return toQColor(storyPlaceholderFill(theme())); }

bool StoryViewerModel::hasTextBlock() const { return storyTextBlock(item()).has_value(); }

QString StoryViewerModel::itemTitle() const {
  const auto block = storyTextBlock(item());
  return block ? fromStd(block->title) : QString();
}

QString StoryViewerModel::itemBody() const {
  const auto block = storyTextBlock(item());
  return block ? fromStd(block->body) : QString();
}

QFont StoryViewerModel::itemTitleFont() const {
  const StoryFont font = story_viewer_layout::kItemTitleFont;
  return toQFont(theme().font(font.size, font.weight));
}

QFont StoryViewerModel::bodyFont() const {
  const StoryFont font = story_viewer_layout::kBodyFont;
  return toQFont(theme().font(font.size, font.weight));
}

qreal StoryViewerModel::bodyLineHeight() const {
  return QFontMetricsF(bodyFont()).lineSpacing() + story_viewer_layout::kBodyLineSpacing;
}

bool StoryViewerModel::hasCallToAction() const { return storyCallToAction(item(), theme()).has_value(); }

QString StoryViewerModel::callToActionTitle() const {
  const auto button = storyCallToAction(item(), theme());
  return button ? QString::fromStdString(button->title) : QString();
}

QColor StoryViewerModel::callToActionTextColor() const {
  const auto button = storyCallToAction(item(), theme());
  return button ? toQColor(button->textColor) : QColor();
}

QColor StoryViewerModel::callToActionBackground() const {
  const auto button = storyCallToAction(item(), theme());
  return button ? toQColor(button->background) : QColor();
}

QColor StoryViewerModel::callToActionBorderColor() const {
  const auto button = storyCallToAction(item(), theme());
  return button ? toQColor(button->borderColor) : QColor();
}

qreal StoryViewerModel::callToActionBorderWidth() const {
  const auto button = storyCallToAction(item(), theme());
  return button ? button->borderWidth : 0.0;
}

QFont StoryViewerModel::callToActionFont() const {
  const StoryFont font = story_viewer_layout::kCallToActionFont;
  return toQFont(theme().font(font.size, font.weight));
}

bool StoryViewerModel::hasSwipeUp() const {
  const StoryItem* current = item();
  return current != nullptr && current->widgetType() == WidgetType::swipe;
}

QString StoryViewerModel::swipeHint() const { return QString::fromStdString(viewerUIStrings().swipeUpHint()); }

QFont StoryViewerModel::swipeHintFont() const {
  const StoryFont font = widget_layout::kSwipeHintFont;
  return toQFont(theme().font(font.size, font.weight));
}

void StoryViewerModel::pause() { setHold(kHost, true); }

void StoryViewerModel::resume() { setHold(kHost, false); }

void StoryViewerModel::togglePause() { setHold(kHost, !(holds_ & kHost)); }

void StoryViewerModel::next() {
  if (model_) model_->next();
}

void StoryViewerModel::previous() {
  if (model_) model_->previous();
}

void StoryViewerModel::close() {
  if (model_) model_->close();
}

void StoryViewerModel::tap(qreal x, qreal width) {
  if (holds_ & kHold) return;  // the release of a long press
  switch (storyTapZone(x, width)) {
    case StoryTapZone::previous: previous(); break;
    case StoryTapZone::next: next(); break;
    case StoryTapZone::none: break;
  }
}

void StoryViewerModel::beginHold(qreal x, qreal width, qreal dx, qreal dy) {
  if (storyTapZone(x, width) == StoryTapZone::none || !isLongPressMovement(dx, dy)) return;
  setHold(kHold, true);
}

void StoryViewerModel::endHold() { setHold(kHold, false); }

void StoryViewerModel::endDrag(qreal dx, qreal dy, qreal vx, qreal vy) {
  if (!model_) return;
  const DragEnd drag{dx, dy, predictedEndTranslation(dx, vx), predictedEndTranslation(dy, vy)};
  const StoryItem* current = model_->currentItem();
  switch (storyViewerDragAction(drag, current)) {
    case StoryViewerDragAction::close: model_->close(); return;
    case StoryViewerDragAction::swipeUp: model_->handleSwipeUp(); return;
    case StoryViewerDragAction::none: break;
  }
  if (hasSwipeUp() && isSwipeWidgetSwipeUp(drag)) model_->handleSwipeUp();
}

void StoryViewerModel::swipeUp() {
  if (model_) model_->handleSwipeUp();
}

void StoryViewerModel::openCallToAction() {
  if (!model_) return;
  const auto button = storyCallToAction(model_->currentItem(), theme());
  if (!button) return;
  model_->trackCTATap();
  openContentLink(button->url);
}

void StoryViewerModel::vote(const QString& optionId) {
  if (model_) model_->vote(optionId.toStdString());
}

}  // namespace quenmark::qt
