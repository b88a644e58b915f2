#pragma once

#include <quenmark/model/raw_value.h>

#include <optional>
#include <string_view>

namespace quenmark {

/// Interactive widget of a story item; `none` for a plain item.
enum class WidgetType {
  none,   ///< "NONE"
  poll,   ///< "POLL"
  quiz,   ///< "QUIZ"
  swipe,  ///< "SWIPE"
};

/// The raw value of `value` ("NONE", ...).
constexpr std::string_view rawValue(WidgetType value) noexcept {
  switch (value) {
    case WidgetType::none: return "NONE";
    case WidgetType::poll: return "POLL";
    case WidgetType::quiz: return "QUIZ";
    case WidgetType::swipe: return "SWIPE";
  }
  return {};
}

/// The case whose raw value is exactly `text` (case-sensitive); absent for any other text.
constexpr std::optional<WidgetType> widgetTypeFromRawValue(std::string_view text) noexcept {
  if (text == "NONE") return WidgetType::none;
  if (text == "POLL") return WidgetType::poll;
  if (text == "QUIZ") return WidgetType::quiz;
  if (text == "SWIPE") return WidgetType::swipe;
  return std::nullopt;
}

template <>
inline std::optional<WidgetType> fromRawValue<WidgetType>(std::string_view text) {
  return widgetTypeFromRawValue(text);
}

}  // namespace quenmark
