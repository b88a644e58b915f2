#pragma once

#include <string>
#include <string_view>

namespace quenmark {

/// `text` (UTF-8) without leading and trailing white space and line breaks: the Unicode space
/// separators, U+0009 to U+000D, U+0085, U+2028 and U+2029. Invalid UTF-8 is left in place.
std::string_view trimWhitespaceAndNewlines(std::string_view text) noexcept;

/// `text` (UTF-8) upper-cased for matching against ASCII keywords: ASCII letters, plus the few
/// non-ASCII letters whose upper case is ASCII (dotless i, long s and the Latin ligatures ff, fi, fl,
/// ffi, ffl, st). Everything else is kept as it is.
std::string upperCasedForMatching(std::string_view text);

}  // namespace quenmark
