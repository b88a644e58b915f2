#pragma once

#include <quenmark/export.h>
#include <quenmark/model/story_group.h>

#include <QMetaType>

#include <memory>
#include <vector>

namespace quenmark::qt {

/// Story groups a host hands to `StoryViewerView.groups` from C++, for groups it got elsewhere than from
/// the viewer's placement. The viewer reads `groups` once, when it is made, so hand them over as an
/// initial property:
///
///     auto* viewer = component.createWithInitialProperties(
///         {{"groups", QVariant::fromValue(quenmark::qt::StoryGroupList(groups))}, {"startIndex", 2}});
///
/// (`QQuickView::setInitialProperties` and QML's `Loader.setSource(url, properties)` do the same), or as
/// the value of a property of the host's own object that QML binds to `groups`, set before the viewer is
/// made. An immutable value; copies share the groups. QML sees it as `storyGroupList` with a `count`.
class QUENMARK_EXPORT StoryGroupList {
  Q_GADGET
  Q_PROPERTY(int count READ count FINAL)

 public:
  /// No groups.
  StoryGroupList() = default;
  explicit StoryGroupList(std::vector<StoryGroup> groups);

  const std::vector<StoryGroup>& groups() const noexcept;
  int count() const noexcept { return static_cast<int>(groups().size()); }

  /// True for copies of one list (or two empty lists): the viewer keeps a list it already has.
  friend bool operator==(const StoryGroupList& a, const StoryGroupList& b) noexcept {
    return a.groups_ == b.groups_ || (a.count() == 0 && b.count() == 0);
  }
  friend bool operator!=(const StoryGroupList& a, const StoryGroupList& b) noexcept { return !(a == b); }

 private:
  std::shared_ptr<const std::vector<StoryGroup>> groups_;
};

}  // namespace quenmark::qt
