#include <quenmark/qt/story_group_list.h>

namespace quenmark::qt {

StoryGroupList::StoryGroupList(std::vector<StoryGroup> groups)
    : groups_(std::make_shared<const std::vector<StoryGroup>>(std::move(groups))) {}

const std::vector<StoryGroup>& StoryGroupList::groups() const noexcept {
  static const std::vector<StoryGroup> kNone;
  return groups_ ? *groups_ : kNone;
}

}  // namespace quenmark::qt
