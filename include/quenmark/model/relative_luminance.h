#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>

namespace quenmark {

/// How light `color` looks, from 0 (black) to 1 (white); the alpha is ignored.
///
/// Each component is linearised (c / 12.92 up to 0.03928, ((c + 0.055) / 1.055)^2.4 above) and the
/// result is 0.2126 R + 0.7152 G + 0.0722 B. Views use it to pick dark or light text on a colour.
QUENMARK_EXPORT double relativeLuminance(const Color& color) noexcept;

}  // namespace quenmark
