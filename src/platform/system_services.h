#pragma once

#include <quenmark/platform/console.h>
#include <quenmark/platform/font_catalog.h>
#include <quenmark/platform/url_opener.h>

namespace quenmark::platform {

/// Font families known to fontconfig.
class FontconfigCatalog final : public FontCatalog {
 public:
  bool hasFamily(std::string_view family) const override;
};

/// Opens URLs with xdg-open: no shell, no waiting; the child is reaped in the background.
class XdgUrlOpener final : public UrlOpener {
 public:
  void open(const Url& url) override;
};

/// Standard output, one whole line per call.
class StdoutConsole final : public Console {
 public:
  void writeLine(std::string_view line) override;
};

}  // namespace quenmark::platform
