#pragma once

#include "event_text.h"

#include <quenmark/sdk/story_sdk_event.h>

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <QTime>

#include <deque>
#include <functional>

namespace quenmark::demo {

/// The host events the SDK reported, newest first, for the events panel: the demo's event handler.
///
/// Constructing it installs it as `StorySDK`'s event handler; destroying it removes the handler. The
/// SDK calls the handler on the main thread (the GUI thread), where rows are added at once. Keeps the
/// latest `kCapacity` events.
class EventLogModel : public QAbstractListModel {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("The demo's session owns the event log.")
  Q_PROPERTY(int count READ rowCount NOTIFY countChanged FINAL)

 public:
  static constexpr int kCapacity = 200;
  enum Role { NameRole = Qt::UserRole + 1, DetailRole, TimeRole };

  explicit EventLogModel(QObject* parent = nullptr);
  ~EventLogModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;

  /// True when a kept event matches.
  bool contains(const std::function<bool(const StorySDKEvent&)>& matches) const;
  /// How many kept events match.
  int countOf(const std::function<bool(const StorySDKEvent&)>& matches) const;

  Q_INVOKABLE void clear();

 Q_SIGNALS:
  void countChanged();

 private:
  struct Entry {
    StorySDKEvent event;
    EventText text;
    QTime time;
  };

  void append(const StorySDKEvent& event);

  std::deque<Entry> entries_;
};

}  // namespace quenmark::demo
