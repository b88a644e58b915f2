#pragma once

#include <quenmark/qt/story_group_list.h>

#include <QtQml/qqml.h>

namespace quenmark::qt {

// Makes the public StoryGroupList known to QML, whose registration macros its header does without.
struct StoryGroupListForeign {
  Q_GADGET
  QML_FOREIGN(quenmark::qt::StoryGroupList)
  QML_VALUE_TYPE(storyGroupList)
};

}  // namespace quenmark::qt
