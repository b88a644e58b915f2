#pragma once

#include <quenmark/export.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/sdk/story_ui_strings.h>

namespace quenmark {

class StoryGroup;

/// The theme the viewer draws with: the group's, or the default theme without a group.
QUENMARK_EXPORT const StoryTheme& viewerTheme(const StoryGroup* group) noexcept;

/// The words the widgets show: those of the SDK's configuration, or the default words before the SDK is
/// configured. Main thread.
QUENMARK_EXPORT StoryUIStrings viewerUIStrings();

}  // namespace quenmark
