#pragma once

#include <quenmark/error.h>
#include <quenmark/platform/key_value_store.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace quenmark::platform {

/// The default key-value store: one SQLite file (WAL), mirrored in memory.
///
/// Reads come from the in-memory copy. Writes update it at once and are queued to a writer thread that
/// commits them in order, each in its own transaction; `flush` waits for the queue to drain. The
/// destructor flushes. A file that cannot be opened or read is renamed aside (never deleted) and a fresh
/// store is created in its place; `recovery()` then describes what happened.
class SqliteKeyValueStore final : public KeyValueStore {
 public:
  explicit SqliteKeyValueStore(std::filesystem::path file);
  ~SqliteKeyValueStore() override;
  SqliteKeyValueStore(const SqliteKeyValueStore&) = delete;
  SqliteKeyValueStore& operator=(const SqliteKeyValueStore&) = delete;

  std::optional<std::string> get(std::string_view key) const override;
  void set(std::string_view key, std::string_view value) override;
  void remove(std::string_view key) override;
  void flush() override;

  /// Set when opening had to replace an unreadable file, or when the store could not be opened at all
  /// (it then works in memory only).
  const std::optional<Error>& recovery() const;
  /// The last error a write met, if any.
  std::optional<Error> lastWriteError() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quenmark::platform
