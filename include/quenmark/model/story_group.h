#pragma once

#include <quenmark/export.h>
#include <quenmark/model/story_item.h>
#include <quenmark/model/story_theme.h>
#include <quenmark/url.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quenmark {

/// One bubble in the story bar and one sequence in the viewer. An immutable value; `id` is its
/// identity.
class QUENMARK_EXPORT StoryGroup {
 public:
  /// Stores every field unchanged (an empty `items` list is accepted).
  StoryGroup(std::string id, std::string title, StoryTheme theme, std::optional<Url> coverImageURL,
             std::vector<StoryItem> items)
      : id_(std::move(id)),
        title_(std::move(title)),
        theme_(std::move(theme)),
        coverImageURL_(std::move(coverImageURL)),
        items_(std::move(items)) {}

  const std::string& id() const noexcept { return id_; }
  const std::string& title() const noexcept { return title_; }
  const StoryTheme& theme() const noexcept { return theme_; }
  /// Image representing the group.
  const std::optional<Url>& coverImageURL() const noexcept { return coverImageURL_; }
  /// Pages in display order.
  const std::vector<StoryItem>& items() const noexcept { return items_; }

  friend bool operator==(const StoryGroup&, const StoryGroup&) = default;

 private:
  std::string id_;
  std::string title_;
  StoryTheme theme_;
  std::optional<Url> coverImageURL_;
  std::vector<StoryItem> items_;
};

}  // namespace quenmark
