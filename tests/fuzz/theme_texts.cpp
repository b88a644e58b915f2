// The theme texts of a group: colours, style names and the font family.
#include "fuzz_target.h"

#include "model/theme_parsing.h"

QUENMARK_FUZZ_TARGET(theme_texts) {
  using namespace quenmark;
  const Color fallback(0.25, 0.5, 0.75, 0.5);
  const Color color = parseColor(bytes, fallback);
  for (double component : {color.red(), color.green(), color.blue()}) {
    QUENMARK_FUZZ_CHECK(component >= 0.0 && component <= 1.0);
  }
  QUENMARK_FUZZ_CHECK(color == fallback || color.alpha() == 1.0);
  parseProgressStyle(bytes);
  parseBubbleStyle(bytes);
  parseCtaStyle(bytes);
  if (auto family = parseFontFamily(bytes)) QUENMARK_FUZZ_CHECK(!family->empty());
}
