#include <quenmark/model/story_item.h>
#include <quenmark/stories/story_text_block.h>

namespace quenmark {
namespace {

std::optional<std::string> shown(const std::optional<std::string>& text) {
  return text && !text->empty() ? text : std::nullopt;
}

}  // namespace

std::optional<StoryTextBlock> storyTextBlock(const StoryItem* item) {
  if (item == nullptr || (!item->title() && !item->bodyText())) return std::nullopt;
  return StoryTextBlock{shown(item->title()), shown(item->bodyText())};
}

}  // namespace quenmark
