#pragma once

// Symbols of the shared library are hidden unless marked with QUENMARK_EXPORT.
#if defined(_WIN32)
#define QUENMARK_EXPORT
#else
#define QUENMARK_EXPORT __attribute__((visibility("default")))
#endif
