#include "platform/sqlite_key_value_store.h"

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace quenmark::platform {
namespace {

struct Write {
  std::string key;
  std::optional<std::string> value;  // absent: delete
};

Error storageError(const std::string& what, sqlite3* db) {
  std::string detail = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
  return Error{ErrorKind::storage, what + ": " + detail, db != nullptr ? sqlite3_extended_errcode(db) : 0};
}

bool exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// Opens the file, creates the table and reads every row. Returns nullptr (and closes) on any failure.
sqlite3* openAndLoad(const std::filesystem::path& file, std::map<std::string, std::string, std::less<>>& values,
                     Error& error) {
  sqlite3* db = nullptr;
  int rc =
      sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    error = storageError("Could not open " + file.string(), db);
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, 2000);
  if (!exec(db, "PRAGMA journal_mode=WAL") || !exec(db, "PRAGMA synchronous=FULL") ||
      !exec(db, "CREATE TABLE IF NOT EXISTS kv (key TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL)")) {
    error = storageError("Could not prepare " + file.string(), db);
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_stmt* select = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT key, value FROM kv", -1, &select, nullptr) != SQLITE_OK) {
    error = storageError("Could not read " + file.string(), db);
    sqlite3_close(db);
    return nullptr;
  }
  std::map<std::string, std::string, std::less<>> loaded;
  while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
    auto text = [&](int column) {
      const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(select, column));
      return std::string(bytes != nullptr ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(select, column)));
    };
    loaded[text(0)] = text(1);
  }
  sqlite3_finalize(select);
  if (rc != SQLITE_DONE) {
    error = storageError("Could not read " + file.string(), db);
    sqlite3_close(db);
    return nullptr;
  }
  values = std::move(loaded);
  return db;
}

}  // namespace

struct SqliteKeyValueStore::Impl {
  std::filesystem::path file;
  sqlite3* db = nullptr;
  std::optional<Error> recovery;

  mutable std::mutex mutex;
  std::condition_variable changed;
  std::map<std::string, std::string, std::less<>> values;
  std::deque<Write> queue;
  std::size_t inFlight = 0;
  bool stopping = false;
  std::optional<Error> writeError;
  std::thread writer;

  explicit Impl(std::filesystem::path path) : file(std::move(path)) {
    std::error_code ignored;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ignored);
    Error error;
    db = openAndLoad(file, values, error);
    if (db == nullptr) {
      // Keep the unreadable file for inspection and start over.
      auto stamp =
          std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
      auto aside = file;
      aside += ".corrupt-" + std::to_string(stamp);
      std::error_code renameError;
      std::filesystem::rename(file, aside, renameError);
      for (const char* suffix : {"-wal", "-shm"}) {
        auto side = file;
        side += suffix;
        auto sideAside = aside;
        sideAside += suffix;
        std::error_code sideError;
        std::filesystem::rename(side, sideAside, sideError);
      }
      Error retryError;
      db = openAndLoad(file, values, retryError);
      if (db != nullptr) {
        error.description += "; the file was moved to " + aside.string() + " and a new store was created";
      } else {
        error.description += "; the store keeps values in memory only (" + retryError.description + ")";
      }
      recovery = error;
    }
    writer = std::thread([this] { writeLoop(); });
  }

  ~Impl() {
    {
      std::lock_guard lock(mutex);
      stopping = true;
    }
    changed.notify_all();
    writer.join();
    if (db != nullptr) {
      exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
      sqlite3_close(db);
    }
  }

  void enqueue(Write write) {
    {
      std::lock_guard lock(mutex);
      if (write.value)
        values[write.key] = *write.value;
      else if (auto found = values.find(write.key); found != values.end())
        values.erase(found);
      queue.push_back(std::move(write));
    }
    changed.notify_all();
  }

  void apply(const Write& write) {
    if (db == nullptr) return;
    const char* sql = write.value ? "INSERT INTO kv(key, value) VALUES(?1, ?2) "
                                    "ON CONFLICT(key) DO UPDATE SET value = excluded.value"
                                  : "DELETE FROM kv WHERE key = ?1";
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_bind_text(statement, 1, write.key.data(), static_cast<int>(write.key.size()), SQLITE_TRANSIENT);
      if (write.value) {
        sqlite3_bind_text(statement, 2, write.value->data(), static_cast<int>(write.value->size()), SQLITE_TRANSIENT);
      }
      rc = sqlite3_step(statement);
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
      std::lock_guard lock(mutex);
      writeError = storageError("Could not write " + file.string(), db);
    }
  }

  void writeLoop() {
    std::unique_lock lock(mutex);
    for (;;) {
      changed.wait(lock, [&] { return stopping || !queue.empty(); });
      if (queue.empty() && stopping) return;
      Write write = std::move(queue.front());
      queue.pop_front();
      ++inFlight;
      lock.unlock();
      apply(write);
      lock.lock();
      --inFlight;
      changed.notify_all();
    }
  }

  void flush() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return queue.empty() && inFlight == 0; });
  }
};

SqliteKeyValueStore::SqliteKeyValueStore(std::filesystem::path file) : impl_(std::make_unique<Impl>(std::move(file))) {}

SqliteKeyValueStore::~SqliteKeyValueStore() = default;

std::optional<std::string> SqliteKeyValueStore::get(std::string_view key) const {
  std::lock_guard lock(impl_->mutex);
  auto found = impl_->values.find(key);
  if (found == impl_->values.end()) return std::nullopt;
  return found->second;
}

void SqliteKeyValueStore::set(std::string_view key, std::string_view value) {
  impl_->enqueue(Write{std::string(key), std::string(value)});
}

void SqliteKeyValueStore::remove(std::string_view key) { impl_->enqueue(Write{std::string(key), std::nullopt}); }

void SqliteKeyValueStore::flush() { impl_->flush(); }

const std::optional<Error>& SqliteKeyValueStore::recovery() const { return impl_->recovery; }

std::optional<Error> SqliteKeyValueStore::lastWriteError() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->writeError;
}

}  // namespace quenmark::platform
