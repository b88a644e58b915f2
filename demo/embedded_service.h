#pragma once

#include "devserver/dev_server.h"
#include "devserver/outcome.h"

#include <filesystem>
#include <memory>
#include <string>

namespace quenmark::demo {

/// The reference content service running inside the demo's process: the content file's stories,
/// banners and media (the `media` directory beside it), votes and events in a SQLite file, on a free
/// loopback port. It serves on its own threads until it is destroyed.
class EmbeddedService {
 public:
  /// Loads and checks the content, opens (or creates) the database and starts serving. A content file
  /// with a mistake, an unusable database or a failed start give the reason instead.
  static devserver::Outcome<std::unique_ptr<EmbeddedService>> start(const std::filesystem::path& contentFile,
                                                                    const std::filesystem::path& databaseFile);
  ~EmbeddedService();
  EmbeddedService(const EmbeddedService&) = delete;
  EmbeddedService& operator=(const EmbeddedService&) = delete;

  /// "http://127.0.0.1:PORT".
  std::string origin() const { return server_->origin(); }

 private:
  explicit EmbeddedService(std::unique_ptr<devserver::DevServer> server) : server_(std::move(server)) {}
  std::unique_ptr<devserver::DevServer> server_;
};

}  // namespace quenmark::demo
