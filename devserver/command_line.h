#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "devserver/outcome.h"

namespace quenmark::devserver {

/// The database file both commands use unless --db names another.
inline constexpr const char* kDefaultDatabase = "quenmark-devserver.db";

/// What `quenmark-devserver serve` was asked to do.
struct ServeSettings {
  std::filesystem::path contentFile;
  std::filesystem::path databaseFile = kDefaultDatabase;
  std::string host = "127.0.0.1";
  int port = 8080;
  /// Empty: the "media" directory next to the content file.
  std::filesystem::path mediaDir;
  std::filesystem::path certFile;
  std::filesystem::path keyFile;
  bool quiet = false;
};

/// What `quenmark-devserver events` was asked to do.
struct EventsSettings {
  std::filesystem::path databaseFile = kDefaultDatabase;
  bool follow = false;
};

/// The arguments after "serve" / after "events"; the failure says which argument is wrong.
Outcome<ServeSettings> parseServeArguments(const std::vector<std::string>& arguments);
Outcome<EventsSettings> parseEventsArguments(const std::vector<std::string>& arguments);

/// The text of --help.
std::string usageText();

/// Runs the program with its arguments (without the program name) and returns the exit status:
/// 0 on success, 1 when the work failed, 2 for wrong arguments. `serve` and `events --follow` run until
/// SIGINT or SIGTERM.
int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace quenmark::devserver
