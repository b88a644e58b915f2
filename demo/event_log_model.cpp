#include "event_log_model.h"

#include <quenmark/sdk/story_sdk.h>

#include <QPointer>

namespace quenmark::demo {

EventLogModel::EventLogModel(QObject* parent) : QAbstractListModel(parent) {
  StorySDK::shared().setEventHandler([log = QPointer<EventLogModel>(this)](const StorySDKEvent& event) {
    if (log) log->append(event);
  });
}

EventLogModel::~EventLogModel() { StorySDK::shared().setEventHandler({}); }

int EventLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant EventLogModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Entry& entry = entries_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case NameRole: return entry.text.name;
    case DetailRole: return entry.text.detail;
    case TimeRole: return entry.time.toString(QStringLiteral("HH:mm:ss"));
    default: return {};
  }
}

QHash<int, QByteArray> EventLogModel::roleNames() const {
  return {{NameRole, "name"}, {DetailRole, "detail"}, {TimeRole, "time"}};
}

bool EventLogModel::contains(const std::function<bool(const StorySDKEvent&)>& matches) const {
  for (const Entry& entry : entries_) {
    if (matches(entry.event)) return true;
  }
  return false;
}

int EventLogModel::countOf(const std::function<bool(const StorySDKEvent&)>& matches) const {
  int count = 0;
  for (const Entry& entry : entries_) count += matches(entry.event) ? 1 : 0;
  return count;
}

void EventLogModel::clear() {
  beginResetModel();
  entries_.clear();
  endResetModel();
  Q_EMIT countChanged();
}

void EventLogModel::append(const StorySDKEvent& event) {
  if (entries_.size() >= kCapacity) {
    beginRemoveRows({}, kCapacity - 1, kCapacity - 1);
    entries_.pop_back();
    endRemoveRows();
  }
  beginInsertRows({}, 0, 0);
  entries_.push_front(Entry{event, describeEvent(event), QTime::currentTime()});
  endInsertRows();
  Q_EMIT countChanged();
}

}  // namespace quenmark::demo
