// Locale identifiers and region codes from the device, as they end up in requests.
#include "fuzz_target.h"

#include "sdk/locale_tags.h"

#include <optional>
#include <string>

namespace {

bool lettersBetween(std::string_view text, bool upper, std::size_t min, std::size_t max) {
  if (text.size() < min || text.size() > max) return false;
  for (char c : text) {
    if (upper ? (c < 'A' || c > 'Z') : (c < 'a' || c > 'z')) return false;
  }
  return true;
}

}  // namespace

QUENMARK_FUZZ_TARGET(locale_tag) {
  using namespace quenmark;
  // Whatever the identifier, the tag is a language of 2 to 8 lower-case letters, optionally followed by
  // "-" and 2 to 8 upper-case letters.
  const std::string tag = eventLocaleTagFor(bytes);
  const std::size_t dash = tag.find('-');
  QUENMARK_FUZZ_CHECK(lettersBetween(std::string_view(tag).substr(0, dash), false, 2, 8));
  if (dash != std::string::npos)
    QUENMARK_FUZZ_CHECK(lettersBetween(std::string_view(tag).substr(dash + 1), true, 2, 8));
  if (auto language = reportedLanguageTag(bytes)) QUENMARK_FUZZ_CHECK(*language == tag);
  if (auto country = analyticsCountryCodeFor(std::string(bytes))) {
    QUENMARK_FUZZ_CHECK(lettersBetween(*country, true, 2, 2));
  }
}
