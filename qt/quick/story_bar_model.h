#pragma once

#include <quenmark/qt/story_group_list.h>
#include <quenmark/stories/observable.h>
#include <quenmark/stories/story_bar_view_model.h>

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <QHash>
#include <QQmlParserStatus>
#include <QString>

#include <memory>

namespace quenmark::qt {

/// The adapter behind `StoryBarView`: owns the core's `StoryBarViewModel`, lists its groups as rows (one
/// bubble each) and publishes the selection that asks for the viewer.
///
/// The model is made, and its one load started, when QML completes the adapter with a placement key (or
/// later, when the first non-blank key arrives); later keys are ignored, so a host re-creating its
/// bindings never loads twice. While `shown`, every group of the row is passed to the model's
/// `trackImpression` when the groups arrive and whenever the bar is shown again; the model reports each
/// once. GUI thread only; the signals are emitted there.
class StoryBarModel : public QAbstractListModel, public QQmlParserStatus {
  Q_OBJECT
  Q_INTERFACES(QQmlParserStatus)
  QML_ELEMENT
  // Set by the view.
  Q_PROPERTY(QString placementKey READ placementKey WRITE setPlacementKey NOTIFY placementKeyChanged FINAL)
  Q_PROPERTY(bool shown READ isShown WRITE setShown NOTIFY shownChanged FINAL)
  // The model's published fields.
  Q_PROPERTY(quenmark::qt::StoryGroupList groups READ groups NOTIFY groupsChanged FINAL)
  Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged FINAL)
  Q_PROPERTY(bool loading READ isLoading NOTIFY loadingChanged FINAL)
  Q_PROPERTY(bool loaded READ hasLoaded NOTIFY loadedChanged FINAL)
  Q_PROPERTY(int selectedIndex READ selectedIndex NOTIFY selectedIndexChanged FINAL)
  Q_PROPERTY(bool viewerPresented READ isViewerPresented WRITE setViewerPresented NOTIFY viewerPresentedChanged FINAL)
  // Derived.
  Q_PROPERTY(Presentation presentation READ presentation NOTIFY presentationChanged FINAL)
  Q_PROPERTY(int count READ count NOTIFY groupsChanged FINAL)
  Q_PROPERTY(qreal barHeight READ barHeight NOTIFY groupsChanged FINAL)

 public:
  /// What a bubble shows of its group.
  enum Role {
    TitleRole = Qt::UserRole + 1,
    TitleFontRole,
    CoverUrlRole,
    CornerRadiusRole,
    /// The ring as SVG path data in the ring's frame (`Theme.bar.ringFrameOrigin`, `ringFrameSide`): the
    /// outer and the inner rounded square, to be filled with the odd-even rule.
    RingPathRole,
    RingStartColorRole,
    RingEndColorRole,
    /// "Launch week, story 1 of 5": the group's title and its place in the row.
    AccessibleNameRole,
  };
  Q_ENUM(Role)

  /// What covers the window: nothing; the viewer from the selected group; or, when the viewer is asked
  /// for without a selection, a plain black cover.
  enum class Presentation { NotPresented, Viewer, EmptyCover };
  Q_ENUM(Presentation)

  explicit StoryBarModel(QObject* parent = nullptr);
  ~StoryBarModel() override;

  QString placementKey() const { return placementKey_; }
  void setPlacementKey(const QString& key);
  bool isShown() const { return shown_; }
  void setShown(bool shown);

  /// A copy of the groups, for the viewer (which keeps the list it opened with).
  StoryGroupList groups() const;
  /// Always empty: the model stores no message (failures go to `loadFailed` and the console).
  QString errorMessage() const;
  bool isLoading() const;
  bool hasLoaded() const;
  /// The group last tapped, or -1.
  int selectedIndex() const;
  bool isViewerPresented() const;
  /// The presentation writes false when the viewer is dismissed; a write that changes nothing is
  /// dropped, so dismissing twice notifies once.
  void setViewerPresented(bool presented);
  Presentation presentation() const;
  int count() const;
  /// None without groups, the bar's height with them.
  qreal barHeight() const;

  /// A tap on the bubble at `index`; out-of-range indices change nothing.
  Q_INVOKABLE void select(int index);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;

  /// The core model, once made (for hosts that drive the bar from C++).
  std::shared_ptr<StoryBarViewModel> viewModel() const { return model_; }

  void classBegin() override {}
  void componentComplete() override;

 Q_SIGNALS:
  void placementKeyChanged();
  void shownChanged();
  void groupsChanged();
  void errorMessageChanged();
  void loadingChanged();
  void loadedChanged();
  void selectedIndexChanged();
  void viewerPresentedChanged();
  void presentationChanged();
  /// The placement's stories could not be loaded (the row stays empty); `message` is the reason, as in
  /// the console line.
  void loadFailed(const QString& message);

 private:
  void makeModel();
  void trackImpressions();

  QString placementKey_;
  bool shown_ = false;
  bool completed_ = false;
  std::shared_ptr<StoryBarViewModel> model_;
  Subscription subscription_;
};

}  // namespace quenmark::qt
