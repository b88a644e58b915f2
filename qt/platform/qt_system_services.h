#pragma once

#include <quenmark/platform/font_catalog.h>
#include <quenmark/platform/url_opener.h>

namespace quenmark::qt {

/// Font families known to `QFontDatabase`: the system's and those the host added with
/// `QFontDatabase::addApplicationFont`. Knows none until a `QGuiApplication` exists.
class QtFontCatalog final : public platform::FontCatalog {
 public:
  bool hasFamily(std::string_view family) const override;
};

/// Opens URLs with `QDesktopServices::openUrl`. URLs Qt cannot parse are ignored.
class DesktopUrlOpener final : public platform::UrlOpener {
 public:
  void open(const Url& url) override;
};

}  // namespace quenmark::qt
