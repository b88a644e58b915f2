#include <quenmark/model/relative_luminance.h>
#include <quenmark/stories/story_colors.h>

namespace quenmark::story_colors {

Color contrastColor(const Color& fill) noexcept { return relativeLuminance(fill) > 0.58 ? kBlack : kWhite; }

}  // namespace quenmark::story_colors
