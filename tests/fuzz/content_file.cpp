// The reference service's content file, read as `ContentCatalog::loadFile` reads it.
#include "fuzz_target.h"

#include "devserver/content_catalog.h"

#include <nlohmann/json.hpp>

QUENMARK_FUZZ_TARGET(content_file) {
  using namespace quenmark::devserver;
  auto document = nlohmann::json::parse(bytes, nullptr, /*allow_exceptions=*/false);
  if (document.is_discarded()) return;
  auto catalog = ContentCatalog::fromJson(document);
  if (!catalog.ok()) QUENMARK_FUZZ_CHECK(!catalog.error().empty());
}
