#pragma once

#include <quenmark/export.h>

#include <optional>
#include <string>
#include <string_view>

namespace quenmark::platform {

/// The user-defaults store: small string values by key that survive restarts.
///
/// Reads are served from memory. Writes update memory at once and reach disk later, off the calling
/// thread; `flush` blocks until every earlier write is durable. Safe to call from any thread.
class QUENMARK_EXPORT KeyValueStore {
 public:
  virtual ~KeyValueStore();
  virtual std::optional<std::string> get(std::string_view key) const = 0;
  virtual void set(std::string_view key, std::string_view value) = 0;
  virtual void remove(std::string_view key) = 0;
  virtual void flush() = 0;
};

}  // namespace quenmark::platform
