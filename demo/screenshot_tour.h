#pragma once

#include "ui_driver.h"

#include <QDir>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <vector>

class QQuickItem;
class QQuickWindow;

namespace quenmark::demo {

class EventLogModel;

/// Goes through the demo the way a user would, on the sample content, and writes a picture of each
/// stop: the home screen, the viewer on the first item of each story group, a poll after a vote with
/// its results, a quiz answered, and each banner type. Each step waits for what it needs to be on
/// screen (pictures arrived, events reported), checked whenever the event loop is idle, never for a
/// fixed time. GUI thread only; `finished` is emitted there once.
class ScreenshotTour : public QObject {
  Q_OBJECT

 public:
  /// How long the whole tour may wait in total before it gives up.
  static constexpr int kTimeoutMilliseconds = 120'000;

  ScreenshotTour(QQuickWindow* window, const EventLogModel* events, QDir directory, QObject* parent = nullptr);

  /// Starts with the first step.
  void start();
  /// The pictures written so far, in order.
  const QStringList& written() const { return written_; }

 Q_SIGNALS:
  /// The tour ended: `error` is empty when every picture was written, else it says what never came.
  void finished(const QString& error);

 private:
  struct Step {
    QString waitingFor;
    std::function<bool()> ready;
    std::function<void()> act;
  };

  void planHome();
  /// Opens the group from its bubble, holds it and saves its first item; closes it unless `keepOpen`.
  /// `variant` is added to the picture's name.
  void planViewer(const QString& groupTitle, bool keepOpen, const QString& variant = {});
  /// Opens the group, saves it, votes for `option` in its poll or quiz, saves the results and closes it.
  void planVote(const QString& groupTitle, const QString& option, bool quiz, const QString& variant = {});
  /// Taps the viewer's close button and waits until the viewer is gone.
  void planViewerClose();
  /// Signs in as `userId` with `locale` in the settings, saving the sheet, then waits for the home screen.
  void planSettings(const QString& userId, const QString& locale, const QString& fileName);
  /// Saves the home banner `bannerId`, swiping to it first when `swipe`.
  void planBanner(const QString& bannerId, const QString& fileName, bool swipe);
  void addStep(QString waitingFor, std::function<bool()> ready, std::function<void()> act = {});
  /// Saves the window, or the part of it under `item`, as `fileName`.
  void save(const QString& fileName, QQuickItem* item = nullptr);
  void poll();
  void finish(const QString& error);

  QQuickWindow* window_;
  const EventLogModel* events_;
  QDir directory_;
  UiDriver ui_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  QTimer poller_;
  QTimer deadline_;
  QStringList written_;
  bool finished_ = false;
};

}  // namespace quenmark::demo
