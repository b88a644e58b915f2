#include "devserver/command_line.h"

#include <charconv>
#include <optional>

#include "devserver/content_catalog.h"
#include "devserver/dev_server.h"
#include "devserver/dev_store.h"
#include "devserver/event_log.h"
#include "devserver/signal_watcher.h"

namespace quenmark::devserver {
namespace {

constexpr std::chrono::milliseconds kFollowInterval{500};

/// Walks "--name value" and "--name=value" arguments.
class ArgumentReader {
 public:
  explicit ArgumentReader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  bool done() const { return index_ >= arguments_.size(); }
  /// The next option name ("--port" of "--port=80" too); advances past it.
  std::string next() {
    const std::string& argument = arguments_[index_++];
    auto equals = argument.find('=');
    if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
      inlineValue_ = argument.substr(equals + 1);
      return argument.substr(0, equals);
    }
    inlineValue_.reset();
    return argument;
  }
  bool hasInlineValue() const { return inlineValue_.has_value(); }
  /// The value of the option just read; fails when it is missing.
  std::optional<std::string> value() {
    if (inlineValue_) return std::exchange(inlineValue_, std::nullopt);
    if (done()) return std::nullopt;
    return arguments_[index_++];
  }

 private:
  const std::vector<std::string>& arguments_;
  std::size_t index_ = 0;
  std::optional<std::string> inlineValue_;
};

std::optional<int> parsePort(const std::string& text) {
  int port = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > 65535) return std::nullopt;
  return port;
}

int serve(const ServeSettings& settings, std::ostream& out, std::ostream& err) {
  auto catalog = ContentCatalog::loadFile(settings.contentFile);
  if (!catalog) {
    err << "quenmark-devserver: " << catalog.error() << '\n';
    return 1;
  }
  auto opened = DevStore::open(settings.databaseFile);
  if (!opened) {
    err << "quenmark-devserver: " << opened.error() << '\n';
    return 1;
  }
  std::shared_ptr<DevStore> store = std::move(opened).value();

  ServerOptions options;
  options.host = settings.host;
  options.port = settings.port;
  options.mediaDir = settings.mediaDir.empty() ? settings.contentFile.parent_path() / "media" : settings.mediaDir;
  options.certFile = settings.certFile;
  options.keyFile = settings.keyFile;
  options.accessLog = settings.quiet ? nullptr : &err;
  DevServer server(std::move(catalog).value(), store, options);

  // Before the server starts its worker threads, so that they leave the signals to the watcher.
  SignalWatcher watcher([&server] { server.stop(); });
  auto port = server.bind();
  if (!port) {
    err << "quenmark-devserver: " << port.error() << '\n';
    return 1;
  }
  out << "Listening on " << server.origin() << std::endl;
  if (!settings.quiet) {
    err << "Content: " << settings.contentFile.string() << "\nDatabase: " << settings.databaseFile.string()
        << "\nMedia: " << options.mediaDir.string() << " (served under /media/)\nPress Ctrl-C to stop.\n"
        << std::flush;
  }
  auto served = server.run();
  if (!served) {
    err << "quenmark-devserver: " << served.error() << '\n';
    return 1;
  }
  if (!settings.quiet) err << "Stopped.\n";
  return 0;
}

int printEvents(const EventsSettings& settings, std::ostream& out, std::ostream& err) {
  std::error_code error;
  if (!std::filesystem::exists(settings.databaseFile, error)) {
    err << "quenmark-devserver: no database at " << settings.databaseFile.string()
        << " (start the server first, or pass --db FILE)\n";
    return 1;
  }
  auto opened = DevStore::open(settings.databaseFile);
  if (!opened) {
    err << "quenmark-devserver: " << opened.error() << '\n';
    return 1;
  }
  Outcome<std::int64_t> printed = std::int64_t{0};
  if (settings.follow) {
    StopSignal stop;
    SignalWatcher watcher([&stop] { stop.raise(); });
    printed = followEvents(*opened.value(), 0, out, stop, kFollowInterval);
  } else {
    printed = printEventsAfter(*opened.value(), 0, out);
  }
  if (!printed) {
    err << "quenmark-devserver: cannot read events: " << printed.error() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

std::string usageText() {
  return R"(quenmark-devserver: a local content service for apps that integrate the Quenmark Stories SDK.

Usage:
  quenmark-devserver serve --content FILE [--db FILE] [--host ADDRESS] [--port N]
                           [--media-dir DIR] [--cert FILE --key FILE] [--quiet]
  quenmark-devserver events [--db FILE] [--follow]
  quenmark-devserver --help

serve
  Serves the stories and banners of a content file (format: docs/devserver.md) on
    GET  /sdk/v1/apps/{appKey}/placements/{placementKey}/stories
    GET  /sdk/v1/apps/{appKey}/placements/{placementKey}/banners
    POST /sdk/v1/apps/{appKey}/story-items/{storyItemId}/vote
    POST /sdk/v1/events                       (SDK events)
    POST /sdk/v1/apps/{appKey}/events         (analytics records)
    GET  /media/...                           (files of the media directory)
  Requests must carry the app's key in "X-Talewyn-SDK-Key". Votes (one per user and story item, the user
  from "X-Talewyn-UserId" or the vote's userId) and every received event are kept in the database.
  The first line on standard output is "Listening on http://HOST:PORT". Stops on SIGINT or SIGTERM.

  --content FILE    content file (JSON); required
  --db FILE         SQLite database for votes and events (default: quenmark-devserver.db)
  --host ADDRESS    address to listen on (default: 127.0.0.1)
  --port N          port to listen on; 0 picks a free one (default: 8080)
  --media-dir DIR   directory served under /media/ (default: "media" next to the content file)
  --cert FILE       PEM certificate; with --key, serve HTTPS
  --key FILE        PEM private key of the certificate
  --quiet           no request log and no start-up notes on standard error

events
  Prints the SDK events and analytics records the server received, oldest first, one JSON object per
  line: {"id":..,"kind":"sdk_event"|"analytics","appKey":..,"receivedAt":..,"body":{...}}.

  --db FILE         database to read (default: quenmark-devserver.db)
  --follow          keep printing new events as they arrive, until interrupted
)";
}

Outcome<ServeSettings> parseServeArguments(const std::vector<std::string>& arguments) {
  using Result = Outcome<ServeSettings>;
  ServeSettings settings;
  ArgumentReader reader(arguments);
  while (!reader.done()) {
    std::string name = reader.next();
    if (name == "--quiet") {
      if (reader.hasInlineValue()) return Result::failure("--quiet takes no value");
      settings.quiet = true;
      continue;
    }
    bool known = name == "--content" || name == "--db" || name == "--host" || name == "--port" ||
                 name == "--media-dir" || name == "--cert" || name == "--key";
    if (!known) return Result::failure("unknown argument '" + name + "' for serve");
    auto value = reader.value();
    if (!value || value->empty()) return Result::failure(name + " needs a value");
    if (name == "--content") settings.contentFile = *value;
    if (name == "--db") settings.databaseFile = *value;
    if (name == "--host") settings.host = *value;
    if (name == "--media-dir") settings.mediaDir = *value;
    if (name == "--cert") settings.certFile = *value;
    if (name == "--key") settings.keyFile = *value;
    if (name == "--port") {
      auto port = parsePort(*value);
      if (!port) return Result::failure("--port needs a number from 0 to 65535, not '" + *value + "'");
      settings.port = *port;
    }
  }
  if (settings.contentFile.empty()) return Result::failure("serve needs --content FILE");
  if (settings.certFile.empty() != settings.keyFile.empty()) {
    return Result::failure("--cert and --key go together");
  }
  return settings;
}

Outcome<EventsSettings> parseEventsArguments(const std::vector<std::string>& arguments) {
  using Result = Outcome<EventsSettings>;
  EventsSettings settings;
  ArgumentReader reader(arguments);
  while (!reader.done()) {
    std::string name = reader.next();
    if (name == "--follow" && !reader.hasInlineValue()) {
      settings.follow = true;
    } else if (name == "--db") {
      auto value = reader.value();
      if (!value || value->empty()) return Result::failure("--db needs a value");
      settings.databaseFile = *value;
    } else {
      return Result::failure("unknown argument '" + name + "' for events");
    }
  }
  return settings;
}

int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  if (arguments.empty()) {
    err << usageText();
    return 2;
  }
  const std::string& command = arguments.front();
  std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
  for (const auto& argument : arguments) {
    if (argument == "--help" || argument == "-h") {
      out << usageText();
      return 0;
    }
  }
  if (command == "serve") {
    auto settings = parseServeArguments(rest);
    if (!settings) {
      err << "quenmark-devserver: " << settings.error() << " (see --help)\n";
      return 2;
    }
    return serve(settings.value(), out, err);
  }
  if (command == "events") {
    auto settings = parseEventsArguments(rest);
    if (!settings) {
      err << "quenmark-devserver: " << settings.error() << " (see --help)\n";
      return 2;
    }
    return printEvents(settings.value(), out, err);
  }
  err << "quenmark-devserver: unknown command '" << command << "' (see --help)\n";
  return 2;
}

}  // namespace quenmark::devserver
