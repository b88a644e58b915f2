#include <quenmark/model/story_item.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/stories/story_media_layer.h>
#include <quenmark/stories/story_viewer_layout_constants.h>

namespace quenmark {

StoryMediaLayer storyMediaLayer(const StoryItem* item) noexcept {
  if (item == nullptr || !item->mediaURL()) return StoryMediaLayer::placeholder;
  return item->mediaType() == StoryMediaType::video ? StoryMediaLayer::video : StoryMediaLayer::image;
}

Color storyPlaceholderFill(const StoryTheme& theme) noexcept {
  return story_colors::over(story_colors::withOpacity(theme.secondaryColor(), story_viewer_layout::kPlaceholderOpacity),
                            story_viewer_layout::kBackground);
}

}  // namespace quenmark
