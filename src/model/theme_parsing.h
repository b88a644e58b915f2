#pragma once

#include <quenmark/model/color.h>
#include <quenmark/model/story_theme.h>

#include <optional>
#include <string>
#include <string_view>

namespace quenmark {

// Conversions of the service's theme texts. Absent, blank or unknown texts give the default theme's
// value; known texts match after trimming and upper-casing ("  segmented " selects `segmented`).

ProgressStyle parseProgressStyle(std::optional<std::string_view> text);
BubbleStyle parseBubbleStyle(std::optional<std::string_view> text);
CtaStyle parseCtaStyle(std::optional<std::string_view> text);

/// A colour from "#RRGGBB", "RRGGBB", "#RGB" or "RGB" (surrounding white space allowed), alpha 1.
///
/// The six digits are read as a signed hexadecimal number, as the service's own tools do: "+12345"
/// is 0x012345 and "-00001" is -1, whose low 24 bits make white. Absent or blank text, a length other
/// than 3 or 6 after one leading "#" is removed (so alpha forms are refused), or any other character
/// gives `fallback`.
Color parseColor(std::optional<std::string_view> text, const Color& fallback);

/// The font family text trimmed; absent when missing or blank. Whether the family is installed is
/// decided when a font is made (`StoryTheme::font`).
std::optional<std::string> parseFontFamily(std::optional<std::string_view> text);

}  // namespace quenmark
