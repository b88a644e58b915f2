#include <quenmark/stories/observable.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quenmark {
namespace {

enum class Field { count, label };

class Counter : public ObservableObject<Field> {
 public:
  int count() const { return count_; }
  void setCount(int value) { publish(count_, value, Field::count); }
  void setLabel(std::string value) { publish(label_, std::move(value), Field::label); }

 private:
  int count_ = 0;
  std::string label_;
};

TEST(Observable, ObserversSeeTheNewValueOfEveryWriteAndStopWhenTheHandleDrops) {
  Counter counter;
  std::vector<std::pair<Field, int>> seen;
  std::optional<Subscription> subscription =
      counter.subscribe([&](Field field) { seen.emplace_back(field, counter.count()); });
  counter.setCount(3);
  counter.setCount(3);  // the same value still notifies
  counter.setLabel("x");
  EXPECT_EQ(seen, (std::vector<std::pair<Field, int>>{{Field::count, 3}, {Field::count, 3}, {Field::label, 3}}));
  EXPECT_EQ(counter.observerCount(), 1u);

  subscription.reset();
  counter.setCount(4);
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(counter.observerCount(), 0u);

  // Moving a handle keeps one registration; assigning over it cancels the old one.
  Subscription first = counter.subscribe([&](Field) { seen.emplace_back(Field::label, -1); });
  Subscription moved = std::move(first);
  EXPECT_FALSE(first.isActive());
  counter.setCount(5);
  EXPECT_EQ(seen.size(), 4u);
  moved = Subscription{};
  counter.setCount(6);
  EXPECT_EQ(seen.size(), 4u);
}

TEST(Observable, ReentrantObserversAndARegistrationThatOutlivesTheObject) {
  auto counter = std::make_unique<Counter>();
  std::vector<std::string> calls;
  Subscription second;
  Subscription late;
  // The first observer cancels the second during the round, subscribes a late one (called from the next
  // change on) and writes again (a nested round).
  Subscription first = counter->subscribe([&](Field field) {
    calls.push_back("first");
    if (field == Field::count && counter->count() == 1) {
      second.cancel();
      late = counter->subscribe([&](Field) { calls.push_back("late"); });
      counter->setLabel("nested");
    }
  });
  second = counter->subscribe([&](Field) { calls.push_back("second"); });
  counter->setCount(1);
  // Round of `count`: first (cancels second), then the nested round of `label`: first and late.
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "first", "late"}));
  calls.clear();
  counter->setCount(2);
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "late"}));

  // An observer may destroy the object it observes; handles that outlive it are harmless.
  calls.clear();
  Subscription destroyer = counter->subscribe([&](Field) { counter.reset(); });
  counter->setCount(3);
  EXPECT_EQ(counter, nullptr);
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "late"}));
  first.cancel();
  EXPECT_FALSE(first.isActive());
}

}  // namespace
}  // namespace quenmark
