#pragma once

// One fuzz target per file. `QUENMARK_FUZZ_TARGET(name) { ... }` defines the body that receives the
// bytes. Built for libFuzzer (QUENMARK_LIBFUZZER) it becomes the program's LLVMFuzzerTestOneInput; built
// into the ordinary suite it registers under `name`, so that the replay test can feed it every committed
// input of tests/fuzz/corpus/<name>/ and tests/fuzz/regressions/<name>/.
//
// A body may check properties with QUENMARK_FUZZ_CHECK; a broken one aborts, which both builds report.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace quenmark::fuzz {

using Entry = void (*)(std::string_view bytes);

/// Registers `entry` under `name`; returns true so that it can initialise a static.
bool registerTarget(const char* name, Entry entry);

[[noreturn]] inline void checkFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
  std::abort();
}

}  // namespace quenmark::fuzz

#define QUENMARK_FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::quenmark::fuzz::checkFailed(#condition, __FILE__, __LINE__))

#ifdef QUENMARK_LIBFUZZER
#define QUENMARK_FUZZ_ENTRY(name, function)                                           \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    function(std::string_view(reinterpret_cast<const char*>(data), size));            \
    return 0;                                                                         \
  }
#else
#define QUENMARK_FUZZ_ENTRY(name, function) \
  [[maybe_unused]] static const bool registered_##name = ::quenmark::fuzz::registerTarget(#name, &function);
#endif

#define QUENMARK_FUZZ_TARGET(name)                 \
  static void fuzz_##name(std::string_view bytes); \
  QUENMARK_FUZZ_ENTRY(name, fuzz_##name)           \
  static void fuzz_##name(std::string_view bytes)
