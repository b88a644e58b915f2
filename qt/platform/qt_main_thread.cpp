#include "qt_main_thread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimerEvent>

#include <cassert>
#include <climits>
#include <cmath>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace quenmark::qt {
namespace {

const QEvent::Type kDrainEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

/// Qt timer intervals are whole milliseconds in an int; NaN and negative intervals fire at once.
int timerMilliseconds(double seconds) {
  if (!(seconds > 0)) return 0;
  const double milliseconds = std::round(seconds * 1000.0);
  return milliseconds >= double(INT_MAX) ? INT_MAX : static_cast<int>(milliseconds);
}

}  // namespace

/// Tasks posted and not yet run. Shared by the main thread object, which any thread may hold last, and the
/// dispatcher, which the application may destroy first.
struct QtMainThread::Queue {
  std::mutex mutex;
  std::deque<std::function<void()>> tasks;  // guarded by mutex
  QObject* dispatcher = nullptr;            // guarded by mutex; null once the dispatcher is gone
  bool wakePending = false;                 // guarded by mutex
};

/// Lives on the GUI thread: drains the task queue and fires the timers.
class QtMainThread::Dispatcher final : public QObject {
 public:
  struct TimerEntry {
    std::function<void()> fire;
    bool repeats = false;
    bool valid = true;
  };

  explicit Dispatcher(std::shared_ptr<Queue> queue) : queue_(std::move(queue)) {}

  ~Dispatcher() override {
    // Under the lock, so that no thread is posting to this object while it goes.
    std::lock_guard lock(queue_->mutex);
    queue_->dispatcher = nullptr;
  }

  int start(int milliseconds, std::shared_ptr<TimerEntry> entry) {
    const int id = startTimer(milliseconds, Qt::PreciseTimer);
    if (id != 0) timers_[id] = std::move(entry);
    return id;
  }

  void stop(int id) {
    if (timers_.erase(id) != 0) killTimer(id);
  }

 protected:
  bool event(QEvent* event) override {
    if (event->type() != kDrainEvent) return QObject::event(event);
    std::deque<std::function<void()>> batch;
    {
      std::lock_guard lock(queue_->mutex);
      batch.swap(queue_->tasks);
      queue_->wakePending = false;
    }
    // Tasks posted while the batch runs wait for the next wake-up.
    for (auto& task : batch) {
      if (task) task();
    }
    return true;
  }

  void timerEvent(QTimerEvent* event) override {
    auto found = timers_.find(event->timerId());
    if (found == timers_.end()) return;
    std::shared_ptr<TimerEntry> entry = found->second;  // the callback may destroy its own timer
    auto fire = entry->fire;
    if (!entry->repeats) {
      entry->valid = false;
      entry->fire = nullptr;
      stop(event->timerId());
    }
    if (fire) fire();
  }

 private:
  std::shared_ptr<Queue> queue_;
  std::unordered_map<int, std::shared_ptr<TimerEntry>> timers_;
};

class QtMainThread::QtTimer final : public platform::Timer {
 public:
  QtTimer(Dispatcher* dispatcher, int id, std::shared_ptr<Dispatcher::TimerEntry> entry)
      : dispatcher_(dispatcher), id_(id), entry_(std::move(entry)) {}
  ~QtTimer() override { invalidate(); }

  void invalidate() override {
    if (!entry_->valid) return;
    entry_->valid = false;
    entry_->fire = nullptr;
    if (dispatcher_) dispatcher_->stop(id_);
  }

  bool isValid() const override { return entry_->valid; }

 private:
  QPointer<Dispatcher> dispatcher_;  // read on the GUI thread only
  int id_;
  std::shared_ptr<Dispatcher::TimerEntry> entry_;
};

QtMainThread::QtMainThread() : queue_(std::make_shared<Queue>()) {
  QCoreApplication* app = QCoreApplication::instance();
  thread_ = app != nullptr ? app->thread() : QThread::currentThread();
  auto* dispatcher = new Dispatcher(queue_);
  if (app != nullptr && QThread::currentThread() == thread_) {
    dispatcher->setParent(app);
  } else if (QThread::currentThread() != thread_) {
    dispatcher->moveToThread(thread_);
  }
  queue_->dispatcher = dispatcher;
}

QtMainThread::~QtMainThread() {
  // Later, on the dispatcher's own thread: this may run on any thread, or inside one of its tasks. Under
  // the lock, so that the application cannot be deleting it meanwhile.
  std::lock_guard lock(queue_->mutex);
  if (queue_->dispatcher != nullptr) queue_->dispatcher->deleteLater();
}

void QtMainThread::post(std::function<void()> task) {
  std::lock_guard lock(queue_->mutex);
  if (queue_->dispatcher == nullptr) return;
  queue_->tasks.push_back(std::move(task));
  if (queue_->wakePending) return;
  queue_->wakePending = true;
  QCoreApplication::postEvent(queue_->dispatcher, new QEvent(kDrainEvent));
}

std::unique_ptr<platform::Timer> QtMainThread::schedule(double seconds, bool repeats, std::function<void()> fire) {
  assert(isMainThread() && "timers are scheduled on the main thread");
  auto entry = std::make_shared<Dispatcher::TimerEntry>(Dispatcher::TimerEntry{std::move(fire), repeats});
  Dispatcher* dispatcher = nullptr;
  {
    std::lock_guard lock(queue_->mutex);
    dispatcher = static_cast<Dispatcher*>(queue_->dispatcher);
  }
  const int id = dispatcher != nullptr ? dispatcher->start(timerMilliseconds(seconds), entry) : 0;
  if (id == 0) {
    entry->valid = false;
    entry->fire = nullptr;
  }
  return std::make_unique<QtTimer>(dispatcher, id, std::move(entry));
}

bool QtMainThread::isMainThread() const { return QThread::currentThread() == thread_; }

}  // namespace quenmark::qt
