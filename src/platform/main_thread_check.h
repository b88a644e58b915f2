#pragma once

#include <quenmark/platform/platform.h>

#include <cassert>

// Debug-build check at the SDK's main-thread entry points.
#ifdef NDEBUG
#define QUENMARK_ASSERT_MAIN_THREAD() ((void)0)
#else
#define QUENMARK_ASSERT_MAIN_THREAD() \
  assert(::quenmark::platform::currentPlatform()->mainThread->isMainThread() && "must be called on the main thread")
#endif
