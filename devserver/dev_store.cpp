#include "devserver/dev_store.h"

#include <sqlite3.h>

namespace quenmark::devserver {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS votes (
  app_key TEXT NOT NULL,
  story_item_id TEXT NOT NULL,
  user_id TEXT,
  option_id TEXT NOT NULL,
  voted_at TEXT NOT NULL,
  UNIQUE (app_key, story_item_id, user_id)
);
CREATE TABLE IF NOT EXISTS events (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  kind TEXT NOT NULL,
  app_key TEXT NOT NULL,
  received_at TEXT NOT NULL,
  body TEXT NOT NULL
);
)sql";

std::string lastError(sqlite3* db) { return sqlite3_errmsg(db); }

/// A prepared statement with its parameters bound in order; finalised when it goes out of scope.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
      failure_ = lastError(db);
      statement_ = nullptr;
    }
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(const std::string& text) {
    if (statement_ && failure_.empty() &&
        sqlite3_bind_text(statement_, ++index_, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
            SQLITE_OK) {
      failure_ = lastError(db_);
    }
    return *this;
  }
  Statement& bind(const std::optional<std::string>& text) {
    if (text) return bind(*text);
    if (statement_ && failure_.empty()) sqlite3_bind_null(statement_, ++index_);
    return *this;
  }
  Statement& bind(std::int64_t value) {
    if (statement_ && failure_.empty()) sqlite3_bind_int64(statement_, ++index_, value);
    return *this;
  }

  /// Advances to the next row; false at the end or on failure (see `failure`).
  bool step() {
    if (!statement_ || !failure_.empty()) return false;
    int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) return true;
    if (code != SQLITE_DONE) failure_ = lastError(db_);
    return false;
  }
  std::string text(int column) const {
    const auto* bytes = sqlite3_column_text(statement_, column);
    return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                               static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                 : std::string();
  }
  std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
  const std::string& failure() const { return failure_; }

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
  int index_ = 0;
  std::string failure_;
};

bool execute(sqlite3* db, const char* sql, std::string* failure) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
  *failure = message ? message : lastError(db);
  sqlite3_free(message);
  return false;
}

}  // namespace

Outcome<std::unique_ptr<DevStore>> DevStore::open(const std::filesystem::path& file) {
  using Result = Outcome<std::unique_ptr<DevStore>>;
  sqlite3* db = nullptr;
  int code =
      sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (code != SQLITE_OK) {
    std::string message = db ? lastError(db) : "out of memory";
    sqlite3_close(db);
    return Result::failure("cannot open the database " + file.string() + ": " + message);
  }
  std::unique_ptr<DevStore> store(new DevStore(db));
  sqlite3_busy_timeout(db, 5000);
  std::string failure;
  {
    // journal_mode answers with a row; anything but "wal" means the file cannot be shared with readers.
    Statement wal(db, "PRAGMA journal_mode=WAL");
    if (!wal.step() || wal.text(0) != "wal") {
      failure = wal.failure().empty() ? "WAL mode is not available" : wal.failure();
    }
  }
  if (failure.empty()) execute(db, kSchema, &failure);
  if (!failure.empty()) return Result::failure("cannot prepare the database " + file.string() + ": " + failure);
  return store;
}

DevStore::DevStore(sqlite3* db) : db_(db) {}

DevStore::~DevStore() { sqlite3_close(db_); }

Outcome<std::int64_t> DevStore::recordVote(const std::string& appKey, const std::string& storyItemId,
                                           const std::optional<std::string>& userId, const std::string& optionId,
                                           const std::string& votedAt) {
  using Result = Outcome<std::int64_t>;
  std::lock_guard lock(mutex_);
  std::string failure;
  if (!execute(db_, "BEGIN IMMEDIATE", &failure)) return Result::failure(failure);
  {
    // A NULL user never conflicts, so votes without a user id are each counted.
    Statement upsert(db_,
                     "INSERT INTO votes (app_key, story_item_id, user_id, option_id, voted_at) VALUES (?, ?, ?, ?, ?) "
                     "ON CONFLICT (app_key, story_item_id, user_id) DO UPDATE SET "
                     "option_id = excluded.option_id, voted_at = excluded.voted_at");
    upsert.bind(appKey).bind(storyItemId).bind(userId).bind(optionId).bind(votedAt);
    upsert.step();
    failure = upsert.failure();
  }
  std::int64_t count = 0;
  if (failure.empty()) {
    Statement counter(db_, "SELECT COUNT(*) FROM votes WHERE app_key = ? AND story_item_id = ? AND option_id = ?");
    counter.bind(appKey).bind(storyItemId).bind(optionId);
    if (counter.step()) count = counter.integer(0);
    failure = counter.failure();
  }
  std::string endFailure;
  execute(db_, failure.empty() ? "COMMIT" : "ROLLBACK", &endFailure);
  if (failure.empty()) failure = endFailure;
  if (!failure.empty()) return Result::failure(failure);
  return count;
}

Outcome<std::map<std::pair<std::string, std::string>, std::int64_t>> DevStore::voteCounts(const std::string& appKey) {
  using Counts = std::map<std::pair<std::string, std::string>, std::int64_t>;
  std::lock_guard lock(mutex_);
  Statement query(db_,
                  "SELECT story_item_id, option_id, COUNT(*) FROM votes WHERE app_key = ? "
                  "GROUP BY story_item_id, option_id");
  query.bind(appKey);
  Counts counts;
  while (query.step()) counts[{query.text(0), query.text(1)}] = query.integer(2);
  if (!query.failure().empty()) return Outcome<Counts>::failure(query.failure());
  return counts;
}

Outcome<std::map<std::string, StoredVote>> DevStore::votesOf(const std::string& appKey, const std::string& userId) {
  using Votes = std::map<std::string, StoredVote>;
  std::lock_guard lock(mutex_);
  Statement query(db_, "SELECT story_item_id, option_id, voted_at FROM votes WHERE app_key = ? AND user_id = ?");
  query.bind(appKey).bind(userId);
  Votes votes;
  while (query.step()) votes[query.text(0)] = StoredVote{query.text(1), query.text(2)};
  if (!query.failure().empty()) return Outcome<Votes>::failure(query.failure());
  return votes;
}

Outcome<std::int64_t> DevStore::addEvent(const std::string& kind, const std::string& appKey,
                                         const std::string& receivedAt, const std::string& body) {
  std::lock_guard lock(mutex_);
  Statement insert(db_, "INSERT INTO events (kind, app_key, received_at, body) VALUES (?, ?, ?, ?)");
  insert.bind(kind).bind(appKey).bind(receivedAt).bind(body);
  insert.step();
  if (!insert.failure().empty()) return Outcome<std::int64_t>::failure(insert.failure());
  return static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_));
}

Outcome<std::vector<StoredEvent>> DevStore::eventsAfter(std::int64_t afterId, int limit) {
  std::lock_guard lock(mutex_);
  Statement query(db_, "SELECT id, kind, app_key, received_at, body FROM events WHERE id > ? ORDER BY id LIMIT ?");
  query.bind(afterId).bind(static_cast<std::int64_t>(limit));
  std::vector<StoredEvent> events;
  while (query.step()) {
    events.push_back({query.integer(0), query.text(1), query.text(2), query.text(3), query.text(4)});
  }
  if (!query.failure().empty()) return Outcome<std::vector<StoredEvent>>::failure(query.failure());
  return events;
}

}  // namespace quenmark::devserver
