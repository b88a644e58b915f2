#pragma once

#include <string>
#include <utility>
#include <variant>

namespace quenmark::devserver {

/// A value, or the text of what went wrong. The service never throws across its own modules: loading
/// content, opening the database and checking request bodies all hand back one of these.
template <class T>
class Outcome {
 public:
  Outcome(T value) : storage_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit by design

  static Outcome failure(std::string message) { return Outcome(Tag{}, std::move(message)); }

  bool ok() const noexcept { return storage_.index() == 0; }
  explicit operator bool() const noexcept { return ok(); }

  T& value() & { return std::get<0>(storage_); }
  const T& value() const& { return std::get<0>(storage_); }
  T&& value() && { return std::get<0>(std::move(storage_)); }
  /// The failure text; empty on success.
  const std::string& error() const {
    static const std::string none;
    return ok() ? none : std::get<1>(storage_);
  }

 private:
  struct Tag {};
  Outcome(Tag, std::string message) : storage_(std::in_place_index<1>, std::move(message)) {}
  std::variant<T, std::string> storage_;
};

}  // namespace quenmark::devserver
