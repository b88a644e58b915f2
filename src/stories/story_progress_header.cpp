#include <quenmark/stories/story_colors.h>
#include <quenmark/stories/story_progress_header.h>

namespace quenmark {

StoryProgressLayout storyProgressLayout(ProgressStyle style, std::size_t segmentCount) noexcept {
  switch (style) {
    case ProgressStyle::segmented: return StoryProgressLayout::segments;
    case ProgressStyle::bar: return segmentCount >= 2 ? StoryProgressLayout::segments : StoryProgressLayout::track;
    case ProgressStyle::none: return StoryProgressLayout::none;
  }
  return StoryProgressLayout::none;
}

StoryProgressColors storyProgressColors(const StoryTheme& theme) noexcept {
  return {story_colors::withOpacity(theme.secondaryColor(), 0.28), theme.primaryColor()};
}

}  // namespace quenmark
