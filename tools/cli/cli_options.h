#pragma once

#include <quenmark/error.h>

#include <optional>
#include <string>
#include <vector>

namespace quenmark::cli {

/// Options that every command takes.
struct GlobalOptions {
  std::optional<std::string> baseUrl;
  std::string sdkKey;
  std::string appKey;
  std::string environment = "production";
  std::optional<std::string> appId;
  std::optional<std::string> bundleId;
  std::optional<std::string> userId;
  bool preview = false;
  std::optional<std::string> locale;
  std::optional<std::string> region;
  std::optional<std::string> deviceId;
  std::optional<std::string> appVersion;
  std::optional<std::string> dataDir;
};

/// How `play` answers polls and quizzes.
struct Answer {
  enum class Kind { none, first, last, index } kind = Kind::none;
  int index = 0;
};

struct Command {
  std::string name;  ///< "stories", "banners", "vote", "play" or "help"
  std::vector<std::string> arguments;
  bool json = false;
  std::optional<int> group;
  Answer answer;
  bool swipe = false;
  bool eventsJson = false;
  /// Longest real time a command may take, the wait for reports still on the wire included.
  double timeoutSeconds = 600;
};

struct Invocation {
  GlobalOptions global;
  Command command;
};

/// Parses the command line (without the program name). Options may come before or after the command.
Result<Invocation> parseCommandLine(const std::vector<std::string>& args);

/// The text `--help` prints.
std::string usageText();

}  // namespace quenmark::cli
