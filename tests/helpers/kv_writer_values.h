#pragma once

// What the killed writer writes, shared by the writer and the test that checks its store.

#include <string>

namespace quenmark::killedwriter {

/// Items whose votes are overwritten in turn, and writes per flush.
inline constexpr long kItems = 7;
inline constexpr long kBatch = 5;

inline std::string itemFor(long n) { return "item-" + std::to_string(n % kItems); }

/// The option text of write `n`: its number, then 300 characters that depend on it, so that a value cut
/// short or mixed with another is told apart from every whole one.
inline std::string voteValue(long n) {
  std::string value = "option-" + std::to_string(n) + ":";
  for (int i = 0; i < 300; ++i) value += static_cast<char>('a' + (n * 31 + i * 7) % 26);
  return value;
}

/// The write number a value claims to be, or -1 when it does not start like a vote value.
inline long writeNumberOf(const std::string& value) {
  if (value.rfind("option-", 0) != 0) return -1;
  return std::strtol(value.c_str() + 7, nullptr, 10);
}

}  // namespace quenmark::killedwriter
