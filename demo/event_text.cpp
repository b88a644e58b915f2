#include "event_text.h"

#include <type_traits>

namespace quenmark::demo {
namespace {

QString shortId(const std::string& id) {
  // Story ids are UUIDs; their last block is enough to tell them apart on screen.
  const QString text = QString::fromStdString(id);
  const auto dash = text.lastIndexOf(QLatin1Char('-'));
  return dash >= 0 ? text.mid(dash + 1) : text;
}

QString storyDetail(const std::string& groupId) { return QStringLiteral("group %1").arg(shortId(groupId)); }

QString storyDetail(const std::string& groupId, const std::string& itemId) {
  return QStringLiteral("group %1 · item %2").arg(shortId(groupId), shortId(itemId));
}

template <class BannerEvent>
QString bannerDetail(const BannerEvent& event) {
  QString text = QStringLiteral("banner %1").arg(QString::fromStdString(event.bannerId));
  if (event.bannerItemId) text += QStringLiteral(" · item %1").arg(QString::fromStdString(*event.bannerItemId));
  return text + QStringLiteral(" · %1").arg(QString::fromStdString(event.placementKey));
}

}  // namespace

EventText describeEvent(const StorySDKEvent& event) {
  namespace e = story_sdk_event;
  return std::visit(
      [](const auto& value) -> EventText {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, e::StoryGroupImpression>) {
          return {QStringLiteral("Bubble shown"), storyDetail(value.groupId)};
        } else if constexpr (std::is_same_v<T, e::StoryOpen>) {
          return {QStringLiteral("Story opened"), storyDetail(value.groupId)};
        } else if constexpr (std::is_same_v<T, e::StoryItemImpression>) {
          return {QStringLiteral("Item shown"), storyDetail(value.groupId, value.itemId)};
        } else if constexpr (std::is_same_v<T, e::StoryClose>) {
          return {QStringLiteral("Story closed"), storyDetail(value.groupId)};
        } else if constexpr (std::is_same_v<T, e::StoryCompleted>) {
          return {QStringLiteral("Story completed"), storyDetail(value.groupId)};
        } else if constexpr (std::is_same_v<T, e::PollViewed>) {
          return {QStringLiteral("Poll shown"), storyDetail(value.groupId, value.itemId)};
        } else if constexpr (std::is_same_v<T, e::PollVoted>) {
          return {QStringLiteral("Poll voted"), storyDetail(value.groupId, value.itemId)};
        } else if constexpr (std::is_same_v<T, e::QuizViewed>) {
          return {QStringLiteral("Quiz shown"), storyDetail(value.groupId, value.itemId)};
        } else if constexpr (std::is_same_v<T, e::QuizAnswered>) {
          return {QStringLiteral("Quiz answered"), storyDetail(value.groupId, value.itemId)};
        } else if constexpr (std::is_same_v<T, e::SwipeUp>) {
          return {QStringLiteral("Swiped up"), storyDetail(value.groupId, value.itemId)};
        } else if constexpr (std::is_same_v<T, e::BannerImpression>) {
          return {QStringLiteral("Banner shown"), bannerDetail(value)};
        } else {
          static_assert(std::is_same_v<T, e::BannerClick>);
          QString detail = bannerDetail(value);
          if (value.url) detail += QStringLiteral(" → %1").arg(QString::fromStdString(value.url->string()));
          return {QStringLiteral("Banner tapped"), detail};
        }
      },
      event.asVariant());
}

}  // namespace quenmark::demo
