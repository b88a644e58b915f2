#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

/// A new random UUID as canonical 36-character text in upper-case hexadecimal.
std::string makeUuidText();

/// `text` as lower-case canonical UUID text when it is exactly the 8-4-4-4-12 hexadecimal form (either
/// case); nothing otherwise.
std::optional<std::string> canonicalUuid(std::string_view text);

}  // namespace quenmark
