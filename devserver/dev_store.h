#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "devserver/outcome.h"

struct sqlite3;

namespace quenmark::devserver {

struct Done {};

/// A user's vote as stored: ids in `identifierKey` form, the time as UTC text.
struct StoredVote {
  std::string optionId;
  std::string votedAt;
};

/// One SDK event or analytics record exactly as it arrived.
struct StoredEvent {
  std::int64_t id = 0;
  std::string kind;  ///< "sdk_event" or "analytics".
  std::string appKey;
  std::string receivedAt;  ///< UTC text with whole seconds.
  std::string body;        ///< The request body, byte for byte.
};

/// The service's SQLite database: votes (one per app, story item and user) and received events.
/// Safe to use from the server's worker threads: one connection, every statement under one mutex.
/// Every value reaches SQL as a bound parameter.
class DevStore {
 public:
  /// Opens (creating when missing) the database file, in WAL mode, and creates the tables.
  static Outcome<std::unique_ptr<DevStore>> open(const std::filesystem::path& file);
  ~DevStore();
  DevStore(const DevStore&) = delete;
  DevStore& operator=(const DevStore&) = delete;

  /// Stores the vote, replacing the same user's earlier vote on the item. A vote without a user id is
  /// counted on its own. Returns the number of stored votes for `optionId` on the item afterwards.
  Outcome<std::int64_t> recordVote(const std::string& appKey, const std::string& storyItemId,
                                   const std::optional<std::string>& userId, const std::string& optionId,
                                   const std::string& votedAt);
  /// Stored vote counts of the app, by (story item id, option id).
  Outcome<std::map<std::pair<std::string, std::string>, std::int64_t>> voteCounts(const std::string& appKey);
  /// The user's votes in the app, by story item id.
  Outcome<std::map<std::string, StoredVote>> votesOf(const std::string& appKey, const std::string& userId);

  /// Appends a received event; returns its row id.
  Outcome<std::int64_t> addEvent(const std::string& kind, const std::string& appKey, const std::string& receivedAt,
                                 const std::string& body);
  /// Events with an id above `afterId`, oldest first, at most `limit`.
  Outcome<std::vector<StoredEvent>> eventsAfter(std::int64_t afterId, int limit = 500);

 private:
  explicit DevStore(sqlite3* db);
  std::mutex mutex_;
  sqlite3* db_;
};

}  // namespace quenmark::devserver
