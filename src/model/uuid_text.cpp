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

std::optional<std::string> canonicalUuid(std::string_view text) {
  // uuid_parse wants exactly the 36-character form; check the length first since it reads a C string.
  if (text.size() != 36) return std::nullopt;
  std::string copy(text);
  uuid_t value;
  if (uuid_parse(copy.c_str(), value) != 0) return std::nullopt;
  char lower[37];
  uuid_unparse_lower(value, lower);
  return std::string(lower);
}

}  // namespace quenmark
