#pragma once

#include <quenmark/export.h>

#include <chrono>

namespace quenmark::platform {

/// Time sources. Safe to call from any thread.
class QUENMARK_EXPORT Clock {
 public:
  virtual ~Clock();
  /// Seconds on a monotonic clock with an arbitrary origin.
  virtual double monotonicNow() const = 0;
  /// The wall clock.
  virtual std::chrono::system_clock::time_point wallNow() const = 0;
};

/// The system clocks (steady_clock and system_clock).
class QUENMARK_EXPORT SystemClock final : public Clock {
 public:
  double monotonicNow() const override;
  std::chrono::system_clock::time_point wallNow() const override;
};

}  // namespace quenmark::platform
