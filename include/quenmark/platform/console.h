#pragma once

#include <quenmark/export.h>

#include <string_view>

namespace quenmark::platform {

/// The SDK's one diagnostic channel. Safe to call from any thread.
class QUENMARK_EXPORT Console {
 public:
  virtual ~Console();
  /// Writes `line` and a line break to standard output.
  virtual void writeLine(std::string_view line) = 0;
};

}  // namespace quenmark::platform
