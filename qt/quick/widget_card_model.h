#pragma once

#include <quenmark/stories/widget_card.h>

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

namespace quenmark::qt {

/// The poll or quiz card of the viewer's current item: its header as properties, its option rows as the
/// list (one row per option, in display order, with a role per field of `WidgetOptionRow`). Filled by
/// `StoryViewerModel`; `present` is false for items without a poll or quiz. GUI thread.
class WidgetCardModel : public QAbstractListModel {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("The viewer's model hands it out: StoryViewerModel.card.")
  Q_PROPERTY(bool present READ isPresent NOTIFY cardChanged FINAL)
  Q_PROPERTY(QString badgeGlyph READ badgeGlyph NOTIFY cardChanged FINAL)
  Q_PROPERTY(QString badgeTitle READ badgeTitle NOTIFY cardChanged FINAL)
  Q_PROPERTY(QColor badgeTextColor READ badgeTextColor NOTIFY cardChanged FINAL)
  Q_PROPERTY(QColor badgeBackground READ badgeBackground NOTIFY cardChanged FINAL)
  Q_PROPERTY(QString title READ title NOTIFY cardChanged FINAL)
  Q_PROPERTY(QString totalLine READ totalLine NOTIFY cardChanged FINAL)
  Q_PROPERTY(QString question READ question NOTIFY cardChanged FINAL)
  Q_PROPERTY(QFont titleFont READ titleFont NOTIFY cardChanged FINAL)
  Q_PROPERTY(QFont totalFont READ totalFont NOTIFY cardChanged FINAL)
  Q_PROPERTY(QFont questionFont READ questionFont NOTIFY cardChanged FINAL)
  Q_PROPERTY(QFont optionFont READ optionFont NOTIFY cardChanged FINAL)
  Q_PROPERTY(QFont percentFont READ percentFont NOTIFY cardChanged FINAL)
  Q_PROPERTY(QFont countFont READ countFont NOTIFY cardChanged FINAL)

 public:
  /// `WidgetRowMark` for QML.
  enum class Mark { Ring, ChosenRing, Check, Dot, NoMark };
  Q_ENUM(Mark)
  /// `WidgetAnswerMark` for QML.
  enum class Answer { NoAnswer, Right, Wrong };
  Q_ENUM(Answer)

  enum Role {
    OptionIdRole = Qt::UserRole + 1,
    TextRole,
    EmojiRole,
    SelectedRole,
    EnabledRole,
    BackgroundRole,
    OutlineColorRole,
    OutlineWidthRole,
    TextColorRole,
    SpinnerRole,
    PercentTextRole,
    PercentColorRole,
    CountTextRole,
    AnswerRole,
    MarkRole,
    MarkColorRole,
    MarkLineWidthRole,
    CheckColorRole,
    AccessibleNameRole,
  };

  explicit WidgetCardModel(QObject* parent = nullptr);

  /// Shows `card` drawn in `theme`'s fonts, or nothing.
  void setCard(std::optional<WidgetCard> card, const StoryTheme& theme);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;

  bool isPresent() const { return card_.has_value(); }
  /// The badge's glyph, by the name `Glyph` draws it under.
  QString badgeGlyph() const;
  QString badgeTitle() const;
  QColor badgeTextColor() const;
  QColor badgeBackground() const;
  QString title() const;
  QString totalLine() const;
  QString question() const;
  QFont titleFont() const { return titleFont_; }
  QFont totalFont() const { return totalFont_; }
  QFont questionFont() const { return questionFont_; }
  QFont optionFont() const { return optionFont_; }
  QFont percentFont() const { return percentFont_; }
  QFont countFont() const { return countFont_; }

 Q_SIGNALS:
  void cardChanged();

 private:
  std::optional<WidgetCard> card_;
  QFont titleFont_;
  QFont totalFont_;
  QFont questionFont_;
  QFont optionFont_;
  QFont percentFont_;
  QFont countFont_;
};

}  // namespace quenmark::qt
