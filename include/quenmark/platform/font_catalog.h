#pragma once

#include <quenmark/export.h>

#include <string_view>

namespace quenmark::platform {

/// Answers whether a font family can be made. Safe to call from any thread.
class QUENMARK_EXPORT FontCatalog {
 public:
  virtual ~FontCatalog();
  /// True when a font family of exactly this name is installed.
  virtual bool hasFamily(std::string_view family) const = 0;
};

}  // namespace quenmark::platform
