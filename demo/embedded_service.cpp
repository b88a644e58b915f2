#include "embedded_service.h"

namespace quenmark::demo {

devserver::Outcome<std::unique_ptr<EmbeddedService>> EmbeddedService::start(const std::filesystem::path& contentFile,
                                                                            const std::filesystem::path& databaseFile) {
  using Result = devserver::Outcome<std::unique_ptr<EmbeddedService>>;
  auto catalog = devserver::ContentCatalog::loadFile(contentFile);
  if (!catalog) return Result::failure(catalog.error());
  auto store = devserver::DevStore::open(databaseFile);
  if (!store) return Result::failure(store.error());

  devserver::ServerOptions options;
  options.host = "127.0.0.1";
  options.port = 0;
  options.mediaDir = contentFile.parent_path() / "media";
  auto server = std::make_unique<devserver::DevServer>(
      std::move(catalog).value(), std::shared_ptr<devserver::DevStore>(std::move(store).value()), std::move(options));
  auto started = server->start();
  if (!started) return Result::failure(started.error());
  return std::unique_ptr<EmbeddedService>(new EmbeddedService(std::move(server)));
}

EmbeddedService::~EmbeddedService() { server_->stop(); }

}  // namespace quenmark::demo
