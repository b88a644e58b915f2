#include "story_bar_model.h"

#include "qt_conversions.h"

#include <quenmark/stories/story_bar_layout.h>

#include <QPointer>

namespace quenmark::qt {
namespace {

QString number(double value) { return QString::number(value, 'g', 8); }

/// SVG path data of `square`, clockwise from the end of its top-left corner.
QString roundedSquarePath(const StoryRoundedSquare& square) {
  const double low = square.origin;
  const double high = square.origin + square.side;
  const double r = square.radius;
  if (r <= 0) return QStringLiteral("M%1 %1 H%2 V%2 H%1 Z").arg(number(low), number(high));
  const QString arc = QStringLiteral(" A%1 %1 0 0 1 ").arg(number(r));
  return QStringLiteral("M%1 %2 H%3").arg(number(low + r), number(low), number(high - r)) + arc +
         QStringLiteral("%1 %2 V%3").arg(number(high), number(low + r), number(high - r)) + arc +
         QStringLiteral("%1 %2 H%3").arg(number(high - r), number(high), number(low + r)) + arc +
         QStringLiteral("%1 %2 V%3").arg(number(low), number(high - r), number(low + r)) + arc +
         QStringLiteral("%1 %2 Z").arg(number(low + r), number(low));
}

}  // namespace

StoryBarModel::StoryBarModel(QObject* parent) : QAbstractListModel(parent) {}

StoryBarModel::~StoryBarModel() = default;

void StoryBarModel::setPlacementKey(const QString& key) {
  if (key == placementKey_) return;
  placementKey_ = key;
  Q_EMIT placementKeyChanged();
  if (completed_ && !model_) makeModel();
}

void StoryBarModel::setShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  Q_EMIT shownChanged();
  trackImpressions();
}

void StoryBarModel::componentComplete() {
  completed_ = true;
  makeModel();
}

void StoryBarModel::makeModel() {
  if (placementKey_.trimmed().isEmpty()) return;  // until a key arrives
  model_ = StoryBarViewModel::create(placementKey_.toStdString());
  // Both run synchronously on the GUI thread; QPointer covers a handler that deletes us.
  QPointer<StoryBarModel> self(this);
  model_->setLoadFailureHandler([self](const Error& error) {
    if (self) Q_EMIT self->loadFailed(QString::fromStdString(error.description));
  });
  subscription_ = model_->subscribe([self](StoryBarViewModelField field) {
    if (!self) return;
    switch (field) {
      case StoryBarViewModelField::groups:
        // The core has already replaced its list: the rows are read afresh from here on.
        self->beginResetModel();
        self->endResetModel();
        Q_EMIT self->groupsChanged();
        self->trackImpressions();
        break;
      case StoryBarViewModelField::errorMessage: Q_EMIT self->errorMessageChanged(); break;
      case StoryBarViewModelField::isLoading: Q_EMIT self->loadingChanged(); break;
      case StoryBarViewModelField::hasLoaded: Q_EMIT self->loadedChanged(); break;
      case StoryBarViewModelField::selectedGroupIndex:
        Q_EMIT self->selectedIndexChanged();
        Q_EMIT self->presentationChanged();
        break;
      case StoryBarViewModelField::isViewerPresented:
        Q_EMIT self->viewerPresentedChanged();
        Q_EMIT self->presentationChanged();
        break;
    }
  });
  if (!model_->hasLoaded()) {
    model_->setHasLoaded(true);
    model_->load();
  }
}

void StoryBarModel::trackImpressions() {
  if (!shown_ || !model_) return;
  // The row is built whole: every bubble appears at once, also those scrolled out of sight. The host's
  // event handler runs inside; it may change the groups or release this adapter.
  const auto model = model_;
  QPointer<StoryBarModel> self(this);
  for (std::size_t index = 0; self && index < model->groups().size(); ++index) {
    model->trackImpression(model->groups()[index]);
  }
}

StoryGroupList StoryBarModel::groups() const { return model_ ? StoryGroupList(model_->groups()) : StoryGroupList(); }

QString StoryBarModel::errorMessage() const {
  return model_ && model_->errorMessage() ? QString::fromStdString(*model_->errorMessage()) : QString();
}

bool StoryBarModel::isLoading() const { return model_ && model_->isLoading(); }

bool StoryBarModel::hasLoaded() const { return model_ && model_->hasLoaded(); }

int StoryBarModel::selectedIndex() const {
  return model_ && model_->selectedGroupIndex() ? static_cast<int>(*model_->selectedGroupIndex()) : -1;
}

bool StoryBarModel::isViewerPresented() const { return model_ && model_->isViewerPresented(); }

void StoryBarModel::setViewerPresented(bool presented) {
  if (!model_ || presented == model_->isViewerPresented()) return;
  model_->setViewerPresented(presented);
}

StoryBarModel::Presentation StoryBarModel::presentation() const {
  if (!isViewerPresented()) return Presentation::NotPresented;
  return selectedIndex() >= 0 ? Presentation::Viewer : Presentation::EmptyCover;
}

int StoryBarModel::count() const { return model_ ? static_cast<int>(model_->groups().size()) : 0; }

qreal StoryBarModel::barHeight() const { return storyBarHeight(model_ ? model_->groups().size() : 0); }

void StoryBarModel::select(int index) {
  if (model_) model_->selectGroup(index);
}

int StoryBarModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

QVariant StoryBarModel::data(const QModelIndex& index, int role) const {
  if (!model_ || !index.isValid() || index.row() < 0 || index.row() >= count()) return {};
  const StoryGroup& group = model_->groups()[static_cast<std::size_t>(index.row())];
  const StoryTheme& theme = group.theme();
  switch (role) {
    case TitleRole: return QString::fromStdString(group.title());
    case TitleFontRole: {
      const StoryFont& font = story_bar_layout::kTitleFont;
      return toQFont(theme.font(font.size, font.weight));
    }
    case CoverUrlRole:
      return group.coverImageURL() ? QUrl(QString::fromStdString(group.coverImageURL()->string())) : QUrl();
    case CornerRadiusRole: return storyBubbleCornerRadius(theme.bubbleStyle(), story_bar_layout::kBubbleSize);
    case RingPathRole: {
      const StoryBubbleRing ring = storyBubbleRing(theme, story_bar_layout::kBubbleSize);
      return roundedSquarePath(ring.outer) + QLatin1Char(' ') + roundedSquarePath(ring.inner);
    }
    case RingStartColorRole: return toQColor(theme.primaryColor());
    case RingEndColorRole: return toQColor(theme.secondaryColor());
    case AccessibleNameRole: {
      const QString title = QString::fromStdString(group.title()).trimmed();
      if (title.isEmpty()) return tr("Story %1 of %2").arg(index.row() + 1).arg(count());
      return tr("%1, story %2 of %3").arg(title).arg(index.row() + 1).arg(count());
    }
  }
  return {};
}

QHash<int, QByteArray> StoryBarModel::roleNames() const {
  return {
      {TitleRole, "title"},
      {TitleFontRole, "titleFont"},
      {CoverUrlRole, "coverUrl"},
      {CornerRadiusRole, "cornerRadius"},
      {RingPathRole, "ringPath"},
      {RingStartColorRole, "ringStartColor"},
      {RingEndColorRole, "ringEndColor"},
      {AccessibleNameRole, "accessibleName"},
  };
}

}  // namespace quenmark::qt
