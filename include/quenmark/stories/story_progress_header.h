#pragma once

#include <quenmark/export.h>
#include <quenmark/model/color.h>
#include <quenmark/model/story_theme.h>

#include <cstddef>

namespace quenmark {

/// How the viewer's header shows the progress of a group.
enum class StoryProgressLayout {
  /// Nothing.
  none,
  /// A row of equal segments, one per item (none for an empty group), each filled by
  /// `StoryViewerViewModel::segmentFill`.
  segments,
  /// One track across the whole width filled by `StoryViewerViewModel::trackFill`.
  track,
};

/// The layout for a theme's `progressStyle` and a group of `segmentCount` items: segmented always shows
/// segments, bar shows segments for two items or more and one track for fewer, none shows nothing.
QUENMARK_EXPORT StoryProgressLayout storyProgressLayout(ProgressStyle style, std::size_t segmentCount) noexcept;

/// The colours of every segment and of the track: the empty part and the played part laid over it.
struct StoryProgressColors {
  /// The theme's secondary colour at opacity 0.28.
  Color track;
  /// The theme's primary colour.
  Color fill;

  friend bool operator==(const StoryProgressColors&, const StoryProgressColors&) = default;
};

QUENMARK_EXPORT StoryProgressColors storyProgressColors(const StoryTheme& theme) noexcept;

}  // namespace quenmark
