#pragma once

#include <quenmark/qt/story_group_list.h>
#include <quenmark/stories/observable.h>
#include <quenmark/stories/story_bar_view_model.h>
#include <quenmark/stories/story_viewer_view_model.h>

#include "widget_card_model.h"

#include <QtQml/qqmlregistration.h>
#include <QAccessible>
#include <QColor>
#include <QFont>
#include <QList>
#include <QObject>
#include <QQmlParserStatus>
#include <QString>
#include <QUrl>

#include <memory>

namespace quenmark::qt {

/// The adapter behind `StoryViewerView`: owns the core's `StoryViewerViewModel`, publishes what the
/// viewer draws and turns the view's gestures, keys and buttons into the model's operations.
///
/// The model is made once from `groups`, `startIndex` and `placementKey`: when QML completes the adapter
/// or, given groups, as soon as something reads what the adapter publishes (set the three before any
/// binding reads it, as `StoryViewerView` does by declaring it last). Without groups but with a placement
/// key the adapter first loads the placement's groups. Later changes of the three are ignored. Playback runs while the
/// view is `shown` and nothing holds it: a long press (`held`), the host (`pause()`), the application being inactive or
/// hidden, or an active screen reader, for which items wait for the user instead of advancing on their timer. GUI
/// thread only; the signals are emitted there.
class StoryViewerModel : public QObject, public QQmlParserStatus, private QAccessible::ActivationObserver {
  Q_OBJECT
  Q_INTERFACES(QQmlParserStatus)
  QML_ELEMENT
  // Set by the view.
  Q_PROPERTY(quenmark::qt::StoryGroupList groups READ groups WRITE setGroups NOTIFY groupsChanged FINAL)
  Q_PROPERTY(int startIndex READ startIndex WRITE setStartIndex NOTIFY startIndexChanged FINAL)
  Q_PROPERTY(QString placementKey READ placementKey WRITE setPlacementKey NOTIFY placementKeyChanged FINAL)
  Q_PROPERTY(bool shown READ isShown WRITE setShown NOTIFY shownChanged FINAL)
  Q_PROPERTY(bool muted READ isMuted WRITE setMuted NOTIFY mutedChanged FINAL)
  // Playback.
  Q_PROPERTY(int groupIndex READ groupIndex NOTIFY itemChanged FINAL)
  Q_PROPERTY(int itemIndex READ itemIndex NOTIFY itemChanged FINAL)
  Q_PROPERTY(qreal progress READ progress NOTIFY progressChanged FINAL)
  Q_PROPERTY(bool playing READ isPlaying NOTIFY playingChanged FINAL)
  Q_PROPERTY(bool held READ isHeld NOTIFY heldChanged FINAL)
  Q_PROPERTY(bool videoActive READ isVideoActive NOTIFY playingChanged FINAL)
  Q_PROPERTY(QString accessibleName READ accessibleName NOTIFY itemChanged FINAL)
  // Header.
  Q_PROPERTY(QList<qreal> progressFills READ progressFills NOTIFY progressChanged FINAL)
  Q_PROPERTY(QColor progressTrackColor READ progressTrackColor NOTIFY itemChanged FINAL)
  Q_PROPERTY(QColor progressFillColor READ progressFillColor NOTIFY itemChanged FINAL)
  Q_PROPERTY(QString groupTitle READ groupTitle NOTIFY itemChanged FINAL)
  Q_PROPERTY(QFont groupTitleFont READ groupTitleFont NOTIFY itemChanged FINAL)
  // Media.
  Q_PROPERTY(MediaLayer mediaLayer READ mediaLayer NOTIFY itemChanged FINAL)
  Q_PROPERTY(QUrl mediaUrl READ mediaUrl NOTIFY itemChanged FINAL)
  Q_PROPERTY(QColor placeholderColor READ placeholderColor NOTIFY itemChanged FINAL)
  // Text block: the lines are empty when not shown.
  Q_PROPERTY(bool hasTextBlock READ hasTextBlock NOTIFY itemChanged FINAL)
  Q_PROPERTY(QString itemTitle READ itemTitle NOTIFY itemChanged FINAL)
  Q_PROPERTY(QString itemBody READ itemBody NOTIFY itemChanged FINAL)
  Q_PROPERTY(QFont itemTitleFont READ itemTitleFont NOTIFY itemChanged FINAL)
  Q_PROPERTY(QFont bodyFont READ bodyFont NOTIFY itemChanged FINAL)
  Q_PROPERTY(qreal bodyLineHeight READ bodyLineHeight NOTIFY itemChanged FINAL)
  // Call-to-action.
  Q_PROPERTY(bool hasCallToAction READ hasCallToAction NOTIFY itemChanged FINAL)
  Q_PROPERTY(QString callToActionTitle READ callToActionTitle NOTIFY itemChanged FINAL)
  Q_PROPERTY(QColor callToActionTextColor READ callToActionTextColor NOTIFY itemChanged FINAL)
  Q_PROPERTY(QColor callToActionBackground READ callToActionBackground NOTIFY itemChanged FINAL)
  Q_PROPERTY(QColor callToActionBorderColor READ callToActionBorderColor NOTIFY itemChanged FINAL)
  Q_PROPERTY(qreal callToActionBorderWidth READ callToActionBorderWidth NOTIFY itemChanged FINAL)
  Q_PROPERTY(QFont callToActionFont READ callToActionFont NOTIFY itemChanged FINAL)
  // Widgets.
  Q_PROPERTY(quenmark::qt::WidgetCardModel* card READ card CONSTANT FINAL)
  Q_PROPERTY(bool hasSwipeUp READ hasSwipeUp NOTIFY itemChanged FINAL)
  Q_PROPERTY(QString swipeHint READ swipeHint NOTIFY itemChanged FINAL)
  Q_PROPERTY(QFont swipeHintFont READ swipeHintFont NOTIFY itemChanged FINAL)

 public:
  /// `StoryMediaLayer` for QML.
  enum class MediaLayer { Placeholder, Picture, Video };
  Q_ENUM(MediaLayer)

  explicit StoryViewerModel(QObject* parent = nullptr);
  ~StoryViewerModel() override;

  StoryGroupList groups() const { return groups_; }
  void setGroups(const StoryGroupList& groups);
  int startIndex() const { return startIndex_; }
  void setStartIndex(int index);
  QString placementKey() const { return placementKey_; }
  void setPlacementKey(const QString& key);
  /// The view is on screen: the first time starts playback (and the item's reports), later times
  /// restart it; false pauses it.
  bool isShown() const { return shown_; }
  void setShown(bool shown);
  /// Video sound; on by default.
  bool isMuted() const { return muted_; }
  void setMuted(bool muted);

  int groupIndex() const;
  int itemIndex() const;
  qreal progress() const;
  bool isPlaying() const;
  bool isHeld() const { return holds_ & kHold; }
  /// Video plays while the viewer is shown, the application active and the host has not paused it; a
  /// long press does not stop it.
  bool isVideoActive() const;
  /// "Story 2 of 5", with the item's (or else the group's) title.
  QString accessibleName() const;

  /// The fills of the header's capsules, as the group's theme lays them out: one per item, one track, or
  /// none (no header).
  QList<qreal> progressFills() const;
  QColor progressTrackColor() const;
  QColor progressFillColor() const;
  QString groupTitle() const;
  QFont groupTitleFont() const;

  MediaLayer mediaLayer() const;
  QUrl mediaUrl() const;
  QColor placeholderColor() const;

  bool hasTextBlock() const;
  QString itemTitle() const;
  QString itemBody() const;
  QFont itemTitleFont() const;
  QFont bodyFont() const;
  /// The distance from one body line to the next: the font's line spacing and the body's extra spacing.
  qreal bodyLineHeight() const;

  bool hasCallToAction() const;
  QString callToActionTitle() const;
  QColor callToActionTextColor() const;
  QColor callToActionBackground() const;
  QColor callToActionBorderColor() const;
  qreal callToActionBorderWidth() const;
  QFont callToActionFont() const;

  WidgetCardModel* card() const { return card_; }
  bool hasSwipeUp() const;
  QString swipeHint() const;
  QFont swipeHintFont() const;

  /// The core model, once made (for hosts that drive the viewer from C++).
  std::shared_ptr<StoryViewerViewModel> viewModel() const { return model_; }

  // The host's control (QML and C++).

  /// Holds playback until `resume()`; video pauses too.
  Q_INVOKABLE void pause();
  Q_INVOKABLE void resume();
  /// `pause()` or `resume()`, whichever undoes the other (the Space key).
  Q_INVOKABLE void togglePause();
  Q_INVOKABLE void next();
  Q_INVOKABLE void previous();
  Q_INVOKABLE void close();

  // The view's gestures and buttons.

  /// A tap at `x` across a viewer `width` wide: back on the left, forward on the right. Nothing while a
  /// long press holds playback.
  Q_INVOKABLE void tap(qreal x, qreal width);
  /// A press held long enough at `x`, having moved by (`dx`, `dy`): on a side zone and within the
  /// movement limit it holds playback until `endHold()`.
  Q_INVOKABLE void beginHold(qreal x, qreal width, qreal dx, qreal dy);
  Q_INVOKABLE void endHold();
  /// A drag released at translation (`dx`, `dy`) with velocity (`vx`, `vy`): closes, swipes up or does
  /// nothing. On a swipe-up item the whole viewer is the swipe widget's area too.
  Q_INVOKABLE void endDrag(qreal dx, qreal dy, qreal vx, qreal vy);
  /// The swipe-up of the swipe widget's own action (and the Up key).
  Q_INVOKABLE void swipeUp();
  /// Reports the call-to-action and opens its link.
  Q_INVOKABLE void openCallToAction();
  Q_INVOKABLE void vote(const QString& optionId);

  void classBegin() override {}
  void componentComplete() override;

 Q_SIGNALS:
  void groupsChanged();
  void startIndexChanged();
  void placementKeyChanged();
  void shownChanged();
  void mutedChanged();
  /// The group, the item or the groups changed: everything but the progress may have.
  void itemChanged();
  void progressChanged();
  void playingChanged();
  void heldChanged();
  /// The viewer must close (once): its presenter dismisses it.
  void dismissed();

 private:
  enum Hold : unsigned { kHold = 1, kHost = 2, kApplication = 4, kScreenReader = 8 };

  /// Makes the model and announces it.
  void makeModel(std::vector<StoryGroup> groups);
  /// Makes the model without a word: for a read before completion, which announces it.
  void createModel(std::vector<StoryGroup> groups);
  /// The core model, made on the first read once the groups are set (null until then).
  StoryViewerViewModel* model() const;
  void setHold(Hold hold, bool on);
  void updatePlayback();
  void refreshCard();
  void accessibilityActiveChanged(bool active) override;
  const StoryItem* item() const;
  const StoryTheme& theme() const;

  StoryGroupList groups_;
  int startIndex_ = 0;
  QString placementKey_;
  bool shown_ = false;
  bool muted_ = false;
  bool completed_ = false;
  bool dismissed_ = false;
  unsigned holds_ = 0;
  WidgetCardModel* card_;
  std::shared_ptr<StoryViewerViewModel> model_;
  Subscription modelSubscription_;
  std::shared_ptr<StoryBarViewModel> placement_;  // loads the groups when none were given
  Subscription placementSubscription_;
  Subscription activitySubscription_;
};

}  // namespace quenmark::qt
