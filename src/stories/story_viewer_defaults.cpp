#include <quenmark/model/story_group.h>
#include <quenmark/sdk/story_sdk.h>
#include <quenmark/stories/story_viewer_defaults.h>

namespace quenmark {

const StoryTheme& viewerTheme(const StoryGroup* group) noexcept {
  return group != nullptr ? group->theme() : StoryTheme::defaultTheme();
}

StoryUIStrings viewerUIStrings() {
  auto configuration = StorySDK::shared().configuration();
  return configuration ? configuration->uiStrings() : StoryUIStrings::defaultStrings();
}

}  // namespace quenmark
