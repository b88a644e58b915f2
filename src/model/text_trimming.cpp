#include "model/text_trimming.h"

#include <cstddef>
#include <cstdint>

namespace quenmark {
namespace {

bool isWhitespaceOrNewline(char32_t c) noexcept {
  switch (c) {
    case 0x0009:
    case 0x000A:
    case 0x000B:
    case 0x000C:
    case 0x000D:
    case 0x0020:
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000: return true;
    default: return c >= 0x2000 && c <= 0x200A;
  }
}

/// Decodes one code point at `text[at]`; `length` 0 when the bytes there are not valid UTF-8.
struct Decoded {
  char32_t codePoint = 0;
  std::size_t length = 0;
};

Decoded decodeAt(std::string_view text, std::size_t at) noexcept {
  const auto lead = static_cast<std::uint8_t>(text[at]);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) return {lead, 1};
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07;
  } else {
    return {};
  }
  if (at + length > text.size()) return {};
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<std::uint8_t>(text[at + i]);
    if ((byte & 0xC0) != 0x80) return {};
    value = (value << 6) | (byte & 0x3F);
  }
  return {value, length};
}

}  // namespace

std::string_view trimWhitespaceAndNewlines(std::string_view text) noexcept {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const Decoded d = decodeAt(text, begin);
    if (d.length == 0 || !isWhitespaceOrNewline(d.codePoint)) break;
    begin += d.length;
  }
  std::size_t end = text.size();
  while (end > begin) {
    // Step back to the lead byte of the last code point (at most three continuation bytes).
    std::size_t start = end - 1;
    while (start > begin && end - start < 4 && (static_cast<std::uint8_t>(text[start]) & 0xC0) == 0x80) --start;
    const Decoded d = decodeAt(text, start);
    if (d.length != end - start || !isWhitespaceOrNewline(d.codePoint)) break;
    end = start;
  }
  return text.substr(begin, end - begin);
}

std::string upperCasedForMatching(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const Decoded d = decodeAt(text, at);
    if (d.length == 0) {
      out.push_back(text[at]);
      ++at;
      continue;
    }
    switch (d.codePoint) {
      case 0x0131: out += "I"; break;  // dotless i
      case 0x017F: out += "S"; break;  // long s
      case 0xFB00: out += "FF"; break;
      case 0xFB01: out += "FI"; break;
      case 0xFB02: out += "FL"; break;
      case 0xFB03: out += "FFI"; break;
      case 0xFB04: out += "FFL"; break;
      case 0xFB05: out += "ST"; break;
      case 0xFB06: out += "ST"; break;
      default:
        if (d.codePoint >= 'a' && d.codePoint <= 'z') {
          out.push_back(static_cast<char>(d.codePoint - 'a' + 'A'));
        } else {
          out.append(text.substr(at, d.length));
        }
    }
    at += d.length;
  }
  return out;
}

}  // namespace quenmark
