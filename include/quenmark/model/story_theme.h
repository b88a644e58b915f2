#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>
#include <quenmark/model/font_description.h>
#include <quenmark/model/font_weight.h>

#include <optional>
#include <string>
#include <utility>

namespace quenmark {

/// Style of the item progress indicator in the viewer. The service selects it with "BAR",
/// "SEGMENTED" or "NONE".
enum class ProgressStyle { bar, segmented, none };

/// Shape of a group's bubble in the story bar ("CIRCLE", "ROUNDED", "SQUARE").
enum class BubbleStyle { circle, rounded, square };

/// Look of the call-to-action button ("FILLED", "OUTLINED", "TEXT").
enum class CtaStyle { filled, outlined, text };

/// How a story group looks: progress indicator, bubble shape, font family, two accent colours and
/// the call-to-action button. An immutable value.
class QUENMARK_EXPORT StoryTheme {
 public:
  /// Stores every field unchanged.
  StoryTheme(ProgressStyle progressStyle, BubbleStyle bubbleStyle, std::optional<std::string> fontFamily,
             Color primaryColor, Color secondaryColor, CtaStyle ctaStyle)
      : progressStyle_(progressStyle),
        bubbleStyle_(bubbleStyle),
        fontFamily_(std::move(fontFamily)),
        primaryColor_(primaryColor),
        secondaryColor_(secondaryColor),
        ctaStyle_(ctaStyle) {}

  /// The theme of groups for which the service sends none: bar, circle, the system font, system
  /// orange (1, 149/255, 0), system pink (1, 45/255, 85/255) and a filled button. Created once, on
  /// first use; safe to call from any thread.
  static const StoryTheme& defaultTheme();

  ProgressStyle progressStyle() const noexcept { return progressStyle_; }
  BubbleStyle bubbleStyle() const noexcept { return bubbleStyle_; }
  /// Font family for the group's texts; absent means the system font.
  const std::optional<std::string>& fontFamily() const noexcept { return fontFamily_; }
  const Color& primaryColor() const noexcept { return primaryColor_; }
  const Color& secondaryColor() const noexcept { return secondaryColor_; }
  CtaStyle ctaStyle() const noexcept { return ctaStyle_; }

  /// The font for the group's texts at `size` points.
  ///
  /// When `fontFamily` is present, not empty and installed (the platform's font catalog knows that
  /// exact name), the custom family at `size` (`weight` is then ignored). Otherwise the system font at
  /// `size` with semibold, medium or bold kept as asked and every other weight drawn as regular.
  /// Reads the installed platform; safe to call from any thread.
  FontDescription font(double size, FontWeight weight) const;

  friend bool operator==(const StoryTheme&, const StoryTheme&) = default;

 private:
  ProgressStyle progressStyle_;
  BubbleStyle bubbleStyle_;
  std::optional<std::string> fontFamily_;
  Color primaryColor_;
  Color secondaryColor_;
  CtaStyle ctaStyle_;
};

}  // namespace quenmark
