#include <quenmark/model/story_theme.h>

#include <quenmark/platform/platform.h>

namespace quenmark {

const StoryTheme& StoryTheme::defaultTheme() {
  // The system orange and pink of the light appearance.
  static const StoryTheme theme{ProgressStyle::bar,
                                BubbleStyle::circle,
                                std::nullopt,
                                Color{1.0, 149.0 / 255.0, 0.0, 1.0},
                                Color{1.0, 45.0 / 255.0, 85.0 / 255.0, 1.0},
                                CtaStyle::filled};
  return theme;
}

FontDescription StoryTheme::font(double size, FontWeight weight) const {
  if (fontFamily_ && !fontFamily_->empty()) {
    const auto platform = platform::currentPlatform();
    if (platform && platform->fonts && platform->fonts->hasFamily(*fontFamily_)) {
      return FontDescription::custom(*fontFamily_, size);
    }
  }
  switch (weight) {
    case FontWeight::semibold:
    case FontWeight::medium:
    case FontWeight::bold: return FontDescription::system(size, weight);
    default: return FontDescription::system(size, FontWeight::regular);
  }
}

}  // namespace quenmark
