#pragma once

#include <quenmark/model/raw_value.h>

#include <optional>
#include <string_view>

namespace quenmark {

/// Kind of a story item's media.
enum class StoryMediaType {
  image,  ///< "IMAGE"
  video,  ///< "VIDEO"
};

/// The raw value of `value` ("IMAGE", ...).
constexpr std::string_view rawValue(StoryMediaType value) noexcept {
  switch (value) {
    case StoryMediaType::image: return "IMAGE";
    case StoryMediaType::video: return "VIDEO";
  }
  return {};
}

/// The case whose raw value is exactly `text` (case-sensitive); absent for any other text.
constexpr std::optional<StoryMediaType> storyMediaTypeFromRawValue(std::string_view text) noexcept {
  if (text == "IMAGE") return StoryMediaType::image;
  if (text == "VIDEO") return StoryMediaType::video;
  return std::nullopt;
}

template <>
inline std::optional<StoryMediaType> fromRawValue<StoryMediaType>(std::string_view text) {
  return storyMediaTypeFromRawValue(text);
}

}  // namespace quenmark
