#pragma once

#include <quenmark/export.h>
#include <quenmark/model/banner.h>

#include <optional>
#include <string_view>

namespace quenmark {

/// Width-to-height ratio of a banner card when no fixed height applies.
///
/// The banner's `bannerAspectRatio` text is split at every ":" with empty pieces dropped; exactly two
/// pieces that both read whole as decimal numbers above 0 give first / second ("16:9" -> 1.777...,
/// "1.91:1" -> 1.91, "16::9" -> 1.777...). Anything else (no text, "1.78", "4:3:2", "abc", "0:1", " 16:9")
/// falls back to 1.0 in the fixed-height layout and to 16 / 9 otherwise. A ratio that would not be a
/// finite positive number (for example "1e-320:1e300") also falls back, so a card never gets an infinite
/// or zero height.
QUENMARK_EXPORT double aspectRatio(const Banner& banner);

/// The ratio written in `text` as `aspectRatio` reads it; absent when the text gives none.
QUENMARK_EXPORT std::optional<double> parseBannerAspectRatio(std::string_view text);

}  // namespace quenmark
