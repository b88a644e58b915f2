#pragma once

#include <quenmark/export.h>

#include <optional>
#include <string>

namespace quenmark {

class StoryItem;

/// The lines of an item's text block above the call-to-action. A line is absent when the item's text
/// is absent or empty; the block itself (with its bottom padding) is there even when both are.
struct StoryTextBlock {
  std::optional<std::string> title;
  std::optional<std::string> body;

  friend bool operator==(const StoryTextBlock&, const StoryTextBlock&) = default;
};

/// The block of `item`: present when the item has a title or a body text, even an empty one; absent
/// otherwise and without an item.
QUENMARK_EXPORT std::optional<StoryTextBlock> storyTextBlock(const StoryItem* item);

}  // namespace quenmark
