#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quenmark {

namespace observable_detail {

/// What a `Subscription` talks back to. Implemented by `ObserverList`.
class SubscriptionSource {
 public:
  virtual ~SubscriptionSource() = default;
  virtual void unsubscribe(std::uint64_t id) noexcept = 0;
};

}  // namespace observable_detail

/// One observer's registration. Dropping (destroying) the handle unsubscribes; so does `cancel()` and
/// assigning another subscription over it. Move-only. The handle may outlive the observed object: it then
/// does nothing.
///
/// Create, cancel and destroy subscriptions on the main thread (where the observed object lives).
class Subscription {
 public:
  Subscription() = default;
  Subscription(std::weak_ptr<observable_detail::SubscriptionSource> source, std::uint64_t id) noexcept
      : source_(std::move(source)), id_(id) {}
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;
  Subscription(Subscription&& other) noexcept : source_(std::move(other.source_)), id_(std::exchange(other.id_, 0)) {}
  Subscription& operator=(Subscription&& other) noexcept {
    if (this != &other) {
      cancel();
      source_ = std::move(other.source_);
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  ~Subscription() { cancel(); }

  /// Stops the observer: it is not called again, not even for a change whose notification is running.
  void cancel() noexcept {
    if (id_ == 0) return;
    if (auto source = source_.lock()) source->unsubscribe(id_);
    source_.reset();
    id_ = 0;
  }

  /// True until `cancel()` (or a move away). Stays true when the observed object is gone.
  bool isActive() const noexcept { return id_ != 0; }

 private:
  std::weak_ptr<observable_detail::SubscriptionSource> source_;
  std::uint64_t id_ = 0;
};

/// The observers of one object, called with the name of the field that changed.
///
/// Safe against re-entrance: an observer may subscribe others (they are called from the next change on),
/// cancel any subscription (a cancelled observer is not called again, even later in the same round),
/// trigger further changes (nested notifications run at once, in order), or release the last reference
/// to the observed object. Main thread only; no locks.
template <class Field>
class ObserverList final : public observable_detail::SubscriptionSource {
 public:
  using Observer = std::function<void(Field)>;

  std::uint64_t add(Observer observer) {
    const std::uint64_t id = nextId_++;
    entries_.push_back(Entry{id, std::make_shared<Observer>(std::move(observer))});
    return id;
  }

  void unsubscribe(std::uint64_t id) noexcept override {
    for (auto& entry : entries_) {
      if (entry.id == id) {
        entry.observer.reset();
        needsCompaction_ = true;
        break;
      }
    }
    compactIfIdle();
  }

  void notify(Field field) {
    if (entries_.empty()) return;
    ++depth_;
    // Observers added during this round sit past `count` and wait for the next change.
    const std::size_t count = entries_.size();
    for (std::size_t i = 0; i < count && i < entries_.size(); ++i) {
      std::shared_ptr<Observer> observer = entries_[i].observer;  // keeps the callback alive while it runs
      if (observer && *observer) (*observer)(field);
    }
    --depth_;
    compactIfIdle();
  }

  /// True when nothing was ever subscribed or every subscription is gone.
  bool empty() const noexcept { return entries_.empty(); }

  std::size_t size() const noexcept {
    std::size_t live = 0;
    for (const auto& entry : entries_) live += entry.observer ? 1 : 0;
    return live;
  }

 private:
  struct Entry {
    std::uint64_t id;
    std::shared_ptr<Observer> observer;  // null once cancelled
  };

  void compactIfIdle() noexcept {
    if (depth_ != 0 || !needsCompaction_) return;
    std::erase_if(entries_, [](const Entry& entry) { return !entry.observer; });
    needsCompaction_ = false;
  }

  std::vector<Entry> entries_;
  std::uint64_t nextId_ = 1;
  int depth_ = 0;
  bool needsCompaction_ = false;
};

/// Base of an observable object whose published fields are named by the enumeration `Field`.
///
/// Each write of a published field goes through `publish` (or is followed by `notifyChanged`), which
/// stores the value and then tells every observer which field was written: observers read the new value
/// from the object. Every write notifies, also when the value did not change.
///
///     enum class CounterField { count };
///     class Counter : public ObservableObject<CounterField> {
///      public:
///       int count() const { return count_; }
///       void increment() { publish(count_, count_ + 1, CounterField::count); }
///      private:
///       int count_ = 0;
///     };
///     Subscription s = counter.subscribe([&](CounterField f) { if (f == CounterField::count) redraw(); });
///
/// Everything runs on the main thread; observers are called there, synchronously, in subscription order.
template <class Field>
class ObservableObject {
 public:
  using Observer = std::function<void(Field)>;

  ObservableObject() : observers_(std::make_shared<ObserverList<Field>>()) {}
  ObservableObject(const ObservableObject&) = delete;
  ObservableObject& operator=(const ObservableObject&) = delete;

  /// Calls `observer` on the main thread after every write of a published field, with the field's name,
  /// until the returned handle is dropped or cancelled.
  [[nodiscard]] Subscription subscribe(Observer observer) const {
    const std::uint64_t id = observers_->add(std::move(observer));
    return Subscription(std::weak_ptr<observable_detail::SubscriptionSource>(observers_), id);
  }

  /// Number of live observers.
  std::size_t observerCount() const noexcept { return observers_->size(); }

 protected:
  ~ObservableObject() = default;

  /// Stores `value` into `storage`, then notifies the observers of `field`.
  template <class T, class U>
  void publish(T& storage, U&& value, Field field) {
    storage = std::forward<U>(value);
    notifyChanged(field);
  }

  /// Notifies the observers that `field` was written. The list is kept alive for the whole round, so an
  /// observer may release the object itself.
  void notifyChanged(Field field) const {
    if (observers_->empty()) return;
    std::shared_ptr<ObserverList<Field>> keep = observers_;
    keep->notify(field);
  }

 private:
  std::shared_ptr<ObserverList<Field>> observers_;
};

}  // namespace quenmark
