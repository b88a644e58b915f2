#include "widget_card_model.h"

#include "qt_conversions.h"

#include <quenmark/model/story_theme.h>
#include <quenmark/stories/widget_layout_constants.h>

namespace quenmark::qt {
namespace {

QFont themed(const StoryTheme& theme, StoryFont font) { return toQFont(theme.font(font.size, font.weight)); }

WidgetCardModel::Mark markOf(WidgetRowMark mark) {
  switch (mark) {
    case WidgetRowMark::ring: return WidgetCardModel::Mark::Ring;
    case WidgetRowMark::chosenRing: return WidgetCardModel::Mark::ChosenRing;
    case WidgetRowMark::check: return WidgetCardModel::Mark::Check;
    case WidgetRowMark::dot: return WidgetCardModel::Mark::Dot;
    case WidgetRowMark::none: return WidgetCardModel::Mark::NoMark;
  }
  return WidgetCardModel::Mark::NoMark;
}

WidgetCardModel::Answer answerOf(WidgetAnswerMark mark) {
  switch (mark) {
    case WidgetAnswerMark::none: return WidgetCardModel::Answer::NoAnswer;
    case WidgetAnswerMark::right: return WidgetCardModel::Answer::Right;
    case WidgetAnswerMark::wrong: return WidgetCardModel::Answer::Wrong;
  }
  return WidgetCardModel::Answer::NoAnswer;
}

QString accessibleName(const WidgetOptionRow& row) {
  QString name = QString::fromStdString(row.text);
  if (!row.percentText.empty()) {
    name += QStringLiteral(", ") + QString::fromStdString(row.percentText);
    if (row.answerMark == WidgetAnswerMark::right) name += QStringLiteral(", ") + WidgetCardModel::tr("right answer");
  }
  if (row.isSelected) name += QStringLiteral(", ") + WidgetCardModel::tr("your choice");
  return name;
}

}  // namespace

WidgetCardModel::WidgetCardModel(QObject* parent) : QAbstractListModel(parent) {}

void WidgetCardModel::setCard(std::optional<WidgetCard> card, const StoryTheme& theme) {
  if (!card && !card_) return;  // still no card: nothing shown changes (most items have none)
  // The same options keep their delegates (a vote only changes their looks); others replace them.
  auto optionIds = [](const std::optional<WidgetCard>& shown) {
    std::vector<std::string> ids;
    if (shown) {
      for (const auto& row : shown->rows) ids.push_back(row.optionId);
    }
    return ids;
  };
  const bool sameRows = optionIds(card) == optionIds(card_);
  if (!sameRows) beginResetModel();
  card_ = std::move(card);
  titleFont_ = themed(theme, widget_layout::kTitleFont);
  totalFont_ = themed(theme, widget_layout::kTotalFont);
  questionFont_ = themed(theme, widget_layout::kQuestionFont);
  optionFont_ = themed(theme, widget_layout::kOptionFont);
  percentFont_ = themed(theme, widget_layout::kPercentFont);
  countFont_ = themed(theme, widget_layout::kCountFont);
  if (!sameRows) {
    endResetModel();
  } else if (rowCount() > 0) {
    Q_EMIT dataChanged(index(0), index(rowCount() - 1));
  }
  Q_EMIT cardChanged();
}

int WidgetCardModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !card_ ? 0 : static_cast<int>(card_->rows.size());
}

QVariant WidgetCardModel::data(const QModelIndex& index, int role) const {
  if (!card_ || !index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
  const WidgetOptionRow& row = card_->rows[static_cast<std::size_t>(index.row())];
  switch (static_cast<Role>(role)) {
    case OptionIdRole: return QString::fromStdString(row.optionId);
    case TextRole: return QString::fromStdString(row.text);
    case EmojiRole: return row.emojiPrefix ? QString::fromStdString(*row.emojiPrefix) : QString();
    case SelectedRole: return row.isSelected;
    case EnabledRole: return row.isEnabled;
    case BackgroundRole: return toQColor(row.background);
    case OutlineColorRole: return toQColor(row.outlineColor);
    case OutlineWidthRole: return row.outlineWidth;
    case TextColorRole: return toQColor(row.textColor);
    case SpinnerRole: return row.showsSpinner;
    case PercentTextRole: return QString::fromStdString(row.percentText);
    case PercentColorRole: return toQColor(row.percentColor);
    case CountTextRole: return QString::fromStdString(row.countText);
    case AnswerRole: return QVariant::fromValue(answerOf(row.answerMark));
    case MarkRole: return QVariant::fromValue(markOf(row.mark));
    case MarkColorRole: return toQColor(row.markColor);
    case MarkLineWidthRole: return row.markLineWidth;
    case CheckColorRole: return toQColor(row.checkColor);
    case AccessibleNameRole: return accessibleName(row);
  }
  return {};
}

QHash<int, QByteArray> WidgetCardModel::roleNames() const {
  return {{OptionIdRole, "optionId"},
          {TextRole, "optionText"},
          {EmojiRole, "emoji"},
          {SelectedRole, "selected"},
          {EnabledRole, "optionEnabled"},
          {BackgroundRole, "fill"},
          {OutlineColorRole, "outlineColor"},
          {OutlineWidthRole, "outlineWidth"},
          {TextColorRole, "textColor"},
          {SpinnerRole, "spinner"},
          {PercentTextRole, "percentText"},
          {PercentColorRole, "percentColor"},
          {CountTextRole, "countText"},
          {AnswerRole, "answer"},
          {MarkRole, "mark"},
          {MarkColorRole, "markColor"},
          {MarkLineWidthRole, "markLineWidth"},
          {CheckColorRole, "checkColor"},
          {AccessibleNameRole, "accessibleName"}};
}

QString WidgetCardModel::badgeGlyph() const {
  switch (card_ ? card_->badge.icon : WidgetBadgeIcon::circle) {
    case WidgetBadgeIcon::chart: return QStringLiteral("chart");
    case WidgetBadgeIcon::checkmark: return QStringLiteral("checkCircle");
    case WidgetBadgeIcon::arrowUp: return QStringLiteral("arrowUpCircle");
    case WidgetBadgeIcon::circle: return QStringLiteral("circle");
  }
  return QStringLiteral("circle");
}

QString WidgetCardModel::badgeTitle() const { return card_ ? QString::fromStdString(card_->badge.title) : QString(); }

QColor WidgetCardModel::badgeTextColor() const { return card_ ? toQColor(card_->badge.textColor) : QColor(); }

QColor WidgetCardModel::badgeBackground() const { return card_ ? toQColor(card_->badge.background) : QColor(); }

QString WidgetCardModel::title() const { return card_ ? QString::fromStdString(card_->title) : QString(); }

QString WidgetCardModel::totalLine() const { return card_ ? QString::fromStdString(card_->totalLine) : QString(); }

QString WidgetCardModel::question() const { return card_ ? QString::fromStdString(card_->question) : QString(); }

}  // namespace quenmark::qt
