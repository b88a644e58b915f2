#include "cli/cli_options.h"

#include <charconv>
#include <map>

namespace quenmark::cli {
namespace {

Error usage(const std::string& message) { return Error{ErrorKind::invalidArgument, message, 2}; }

std::optional<int> parseInt(const std::string& text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> parseSeconds(const std::string& text) {
  try {
    size_t used = 0;
    double value = std::stod(text, &used);
    if (used != text.size() || !(value > 0)) return std::nullopt;
    return value;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

std::string usageText() {
  return R"(Usage: quenmark [global options] COMMAND [command options]

A console host of the Quenmark Stories SDK.

Commands:
  stories PLACEMENT [--json]       Fetch and print a placement's story groups.
  banners PLACEMENT [--json]       Fetch and print a placement's banners.
  vote STORY_ITEM_ID OPTION_ID [--json]
                                   Vote for an option of a poll or quiz item.
  play PLACEMENT [--group INDEX] [--answer first|last|INDEX|none] [--swipe] [--events-json]
                                   Play a placement headlessly: load the bar, report its impressions,
                                   open the viewer on a group (default 0), play every item for its real
                                   duration, answer polls and quizzes as told, swipe up on swipe items
                                   with --swipe, print every event as it is reported (one JSON line each
                                   with --events-json) and exit when the viewer closes.
  help                             Print this text.

Global options:
  --base-url URL                   Origin of the content service (default: the SDK's built-in service).
  --sdk-key KEY                    Secret SDK key (sent as X-Talewyn-SDK-Key).
  --app-key KEY                    Public app key.
  --environment staging|production Reported environment (default production).
  --app-id ID                      Host app id.
  --bundle-id ID                   Host bundle id (also the device's bundle identifier).
  --user-id ID                     Signed-in user id.
  --preview                        Preview mode: votes are answered locally and not sent.
  --locale IDENTIFIER              Device locale identifier, e.g. en_US (default: from the environment).
  --region CODE                    Device region code, e.g. US.
  --device-id UUID                 Device vendor identifier.
  --app-version V                  Host app version.
  --data-dir DIR                   Where the SDK keeps its small stored values.
  --timeout SECONDS                Longest real time a command may take (default 600).
  --help                           Print this text.

Errors print their description and exit with a non-zero status.
)";
}

Result<Invocation> parseCommandLine(const std::vector<std::string>& args) {
  Invocation invocation;
  GlobalOptions& g = invocation.global;
  Command& c = invocation.command;
  const std::map<std::string, std::optional<std::string>*> optionalValues = {
      {"--base-url", &g.baseUrl},   {"--app-id", &g.appId},           {"--bundle-id", &g.bundleId},
      {"--user-id", &g.userId},     {"--locale", &g.locale},          {"--region", &g.region},
      {"--device-id", &g.deviceId}, {"--app-version", &g.appVersion}, {"--data-dir", &g.dataDir}};

  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](const std::string& name) -> Result<std::string> {
      if (i + 1 >= args.size()) return usage("Option " + name + " needs a value.");
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      c.name = "help";
      return invocation;
    }
    if (auto found = optionalValues.find(arg); found != optionalValues.end()) {
      auto v = value(arg);
      if (!v) return v.error();
      *found->second = v.value();
    } else if (arg == "--sdk-key" || arg == "--app-key" || arg == "--environment") {
      auto v = value(arg);
      if (!v) return v.error();
      (arg == "--sdk-key" ? g.sdkKey : arg == "--app-key" ? g.appKey : g.environment) = v.value();
    } else if (arg == "--preview") {
      g.preview = true;
    } else if (arg == "--json") {
      c.json = true;
    } else if (arg == "--swipe") {
      c.swipe = true;
    } else if (arg == "--events-json") {
      c.eventsJson = true;
    } else if (arg == "--timeout") {
      auto v = value(arg);
      if (!v) return v.error();
      auto seconds = parseSeconds(v.value());
      if (!seconds) return usage("--timeout takes a positive number of seconds.");
      c.timeoutSeconds = *seconds;
    } else if (arg == "--group") {
      auto v = value(arg);
      if (!v) return v.error();
      auto index = parseInt(v.value());
      if (!index || *index < 0) return usage("--group takes a group index (0, 1, ...).");
      c.group = *index;
    } else if (arg == "--answer") {
      auto v = value(arg);
      if (!v) return v.error();
      if (v.value() == "first")
        c.answer.kind = Answer::Kind::first;
      else if (v.value() == "last")
        c.answer.kind = Answer::Kind::last;
      else if (v.value() == "none")
        c.answer.kind = Answer::Kind::none;
      else if (auto index = parseInt(v.value()); index && *index >= 0)
        c.answer = {Answer::Kind::index, *index};
      else
        return usage("--answer takes first, last, none or an option index.");
    } else if (arg.starts_with("--")) {
      return usage("Unknown option " + arg + ". See quenmark --help.");
    } else {
      positional.push_back(arg);
    }
  }

  if (g.environment != "staging" && g.environment != "production") {
    return usage("--environment must be staging or production.");
  }
  if (positional.empty()) return usage("No command given. See quenmark --help.");
  c.name = positional.front();
  c.arguments.assign(positional.begin() + 1, positional.end());

  size_t expected = 0;
  if (c.name == "stories" || c.name == "banners" || c.name == "play")
    expected = 1;
  else if (c.name == "vote")
    expected = 2;
  else if (c.name == "help")
    return invocation;
  else
    return usage("Unknown command " + c.name + ". See quenmark --help.");
  if (c.arguments.size() != expected) {
    return usage("quenmark " + c.name + " takes " + std::to_string(expected) + " argument" +
                 (expected == 1 ? "" : "s") + ". See quenmark --help.");
  }
  return invocation;
}

}  // namespace quenmark::cli
