#pragma once

#include <optional>
#include <string_view>

namespace quenmark {

/// The case of enumeration `E` whose raw value is exactly `text` (case-sensitive); absent for any
/// other text. Specialised next to each enumeration that has raw values, for example
/// `fromRawValue<WidgetType>("POLL")`.
template <class E>
std::optional<E> fromRawValue(std::string_view text);

}  // namespace quenmark
