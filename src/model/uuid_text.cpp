#include "model/uuid_text.h"

#include <uuid/uuid.h>

#include <cctype>

namespace quenmark {

std::string makeUuidText() {
  uuid_t value;
  uuid_generate_random(value);
  char text[37];
  uuid_unparse_upper(value, text);
  return text;
}

namespace {

// Lower-case hexadecimal digit for each byte that is one, 0 for every other byte. A table keeps the
// check free of branches that mispredict on mixed letters and digits.
struct HexDigits {
  char lower[256] = {};
  constexpr HexDigits() {
    for (char c = '0'; c <= '9'; ++c) lower[static_cast<unsigned char>(c)] = c;
    for (char c = 'a'; c <= 'f'; ++c) {
      lower[static_cast<unsigned char>(c)] = c;
      lower[static_cast<unsigned char>(c - 'a' + 'A')] = c;
    }
  }
};
constexpr HexDigits kHexDigits;

}  // namespace

std::optional<std::string> canonicalUuid(std::string_view text) {
  // Exactly what uuid_parse accepts (36 characters, "-" at 8, 13, 18 and 23, hexadecimal digits
  // elsewhere), checked by hand: decoding runs this for every identifier of a response.
  if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') {
    return std::nullopt;
  }
  std::string lower(text);
  bool valid = true;
  for (std::size_t i = 0; i < 36; ++i) {
    if (i == 8 || i == 13 || i == 18 || i == 23) continue;
    const char digit = kHexDigits.lower[static_cast<unsigned char>(text[i])];
    valid &= digit != 0;
    lower[i] = digit;
  }
  if (!valid) return std::nullopt;
  return lower;
}

}  // namespace quenmark
