#include <quenmark/model/relative_luminance.h>

#include <cmath>

namespace quenmark {
namespace {

double linearised(double component) noexcept {
  return component <= 0.03928 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
}

}  // namespace

double relativeLuminance(const Color& color) noexcept {
  return 0.2126 * linearised(color.red()) + 0.7152 * linearised(color.green()) + 0.0722 * linearised(color.blue());
}

}  // namespace quenmark
