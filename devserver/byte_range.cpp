#include "devserver/byte_range.h"

#include <charconv>
#include <optional>

namespace quenmark::devserver {
namespace {

std::optional<std::uint64_t> number(std::string_view text) {
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

ByteRange parseByteRange(std::string_view header, std::uint64_t size) {
  constexpr std::string_view unit = "bytes=";
  ByteRange whole;
  header = trimmed(header);
  if (header.substr(0, unit.size()) != unit) return whole;
  std::string_view rangeText = trimmed(header.substr(unit.size()));
  auto dash = rangeText.find('-');
  if (dash == std::string_view::npos || rangeText.find(',') != std::string_view::npos) return whole;
  std::string_view firstText = trimmed(rangeText.substr(0, dash));
  std::string_view lastText = trimmed(rangeText.substr(dash + 1));

  if (firstText.empty()) {
    auto suffix = number(lastText);
    if (!suffix) return whole;
    if (*suffix == 0 || size == 0) return {ByteRange::Kind::unsatisfiable};
    std::uint64_t length = *suffix < size ? *suffix : size;
    return {ByteRange::Kind::partial, size - length, length};
  }
  auto first = number(firstText);
  if (!first) return whole;
  std::uint64_t last = size == 0 ? 0 : size - 1;
  if (!lastText.empty()) {
    auto requested = number(lastText);
    if (!requested || *requested < *first) return whole;
    if (*requested < last) last = *requested;
  }
  if (*first >= size) return {ByteRange::Kind::unsatisfiable};
  return {ByteRange::Kind::partial, *first, last - *first + 1};
}

}  // namespace quenmark::devserver
