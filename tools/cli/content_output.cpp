#include "cli/content_output.h"

#include <quenmark/model/model_json.h>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace quenmark::cli {
namespace {

const char* name(ProgressStyle style) {
  switch (style) {
    case ProgressStyle::bar: return "bar";
    case ProgressStyle::segmented: return "segmented";
    case ProgressStyle::none: return "none";
  }
  return "?";
}
const char* name(BubbleStyle style) {
  switch (style) {
    case BubbleStyle::circle: return "circle";
    case BubbleStyle::rounded: return "rounded";
    case BubbleStyle::square: return "square";
  }
  return "?";
}
const char* name(CtaStyle style) {
  switch (style) {
    case CtaStyle::filled: return "filled";
    case CtaStyle::outlined: return "outlined";
    case CtaStyle::text: return "text";
  }
  return "?";
}

template <class T>
nlohmann::json coded(const T& value) {
  auto text = encodeJson(value);
  if (!text) return nlohmann::json{{"encodingError", text.error().description}};
  return nlohmann::json::parse(text.value(), nullptr, false);
}

std::string formatDuration(double seconds) {
  std::ostringstream out;
  out << seconds << "s";
  return out.str();
}

}  // namespace

std::string colorHex(const Color& color) {
  auto byte = [](double component) {
    return static_cast<unsigned>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0));
  };
  char text[16];
  if (color.alpha() >= 1.0) {
    std::snprintf(text, sizeof text, "#%02X%02X%02X", byte(color.red()), byte(color.green()), byte(color.blue()));
  } else {
    std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", byte(color.red()), byte(color.green()), byte(color.blue()),
                  byte(color.alpha()));
  }
  return text;
}

nlohmann::json storiesJson(const std::vector<StoryGroup>& groups) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& group : groups) {
    const StoryTheme& theme = group.theme();
    nlohmann::json themeJson{{"progressStyle", name(theme.progressStyle())},
                             {"bubbleStyle", name(theme.bubbleStyle())},
                             {"primaryColor", colorHex(theme.primaryColor())},
                             {"secondaryColor", colorHex(theme.secondaryColor())},
                             {"ctaStyle", name(theme.ctaStyle())}};
    if (theme.fontFamily()) themeJson["fontFamily"] = *theme.fontFamily();
    nlohmann::json groupJson{{"id", group.id()}, {"title", group.title()}, {"theme", themeJson}};
    if (group.coverImageURL()) groupJson["coverImageURL"] = group.coverImageURL()->string();
    nlohmann::json items = nlohmann::json::array();
    for (const auto& item : group.items()) items.push_back(coded(item));
    groupJson["items"] = std::move(items);
    out.push_back(std::move(groupJson));
  }
  return out;
}

nlohmann::json bannersJson(const std::vector<Banner>& banners) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& banner : banners) out.push_back(coded(banner));
  return out;
}

nlohmann::json voteJson(const VoteResponse& response) {
  nlohmann::json out{{"voted", response.voted()}};
  if (response.optionId()) out["optionId"] = *response.optionId();
  if (response.voteCount()) out["voteCount"] = *response.voteCount();
  return out;
}

std::string storiesTable(const std::vector<StoryGroup>& groups) {
  std::ostringstream out;
  if (groups.empty()) out << "No story groups.\n";
  for (size_t g = 0; g < groups.size(); ++g) {
    const auto& group = groups[g];
    const auto& theme = group.theme();
    out << "[" << g << "] " << group.title() << "  (" << group.id() << ")\n";
    out << "    theme: progress " << name(theme.progressStyle()) << ", bubble " << name(theme.bubbleStyle()) << ", cta "
        << name(theme.ctaStyle()) << ", colours " << colorHex(theme.primaryColor()) << " / "
        << colorHex(theme.secondaryColor());
    if (theme.fontFamily()) out << ", font " << *theme.fontFamily();
    out << "\n";
    for (size_t i = 0; i < group.items().size(); ++i) {
      const auto& item = group.items()[i];
      out << "    " << i + 1 << ". " << item.id() << "  "
          << (item.mediaType() ? std::string(rawValue(*item.mediaType())) : std::string("-")) << "  "
          << formatDuration(item.duration());
      if (item.title()) out << "  \"" << *item.title() << "\"";
      if (item.widgetType() != WidgetType::none) out << "  " << rawValue(item.widgetType());
      if (item.ctaTitle()) out << "  cta \"" << *item.ctaTitle() << "\"";
      out << "\n";
      if (item.widgetQuestion()) out << "       question: " << *item.widgetQuestion() << "\n";
      for (const auto& option : item.widgetOptions()) {
        out << "       - " << (option.emojiPrefix() ? *option.emojiPrefix() + " " : "") << option.text() << "  ("
            << option.voteCount() << " vote" << (option.voteCount() == 1 ? "" : "s") << ")"
            << (option.isCorrect().value_or(false) ? "  correct" : "") << "  " << option.id() << "\n";
      }
      if (item.userVote()) out << "       your vote: " << item.userVote()->optionId() << "\n";
      if (item.swipeCallbackURL()) out << "       swipe: " << item.swipeCallbackURL()->string() << "\n";
    }
  }
  return out.str();
}

std::string bannersTable(const std::vector<Banner>& banners) {
  std::ostringstream out;
  if (banners.empty()) out << "No banners.\n";
  for (const auto& banner : banners) {
    out << "banner " << banner.id() << "  " << rawValue(banner.type()) << "  order " << banner.viewOrder()
        << "  autoplay " << banner.autoplaySeconds() << "s  layout " << rawValue(banner.bannerLayoutMode());
    if (banner.bannerAspectRatio()) out << " " << *banner.bannerAspectRatio();
    if (banner.bannerFixedHeight()) out << " " << *banner.bannerFixedHeight() << "pt";
    out << "  content " << rawValue(banner.bannerContentMode()) << "\n";
    for (const auto& item : banner.items()) {
      out << "    item " << item.id() << "  " << item.mediaURL().string() << "  " << rawValue(item.ctaType());
      if (item.ctaURL()) out << " -> " << item.ctaURL()->string();
      out << "\n";
    }
  }
  return out.str();
}

std::string voteText(const VoteResponse& response) {
  std::ostringstream out;
  out << (response.voted() ? "Vote counted" : "Vote not counted");
  if (response.optionId()) out << " for option " << *response.optionId();
  if (response.voteCount())
    out << "; the option now has " << *response.voteCount() << " vote" << (*response.voteCount() == 1 ? "" : "s");
  out << ".\n";
  return out.str();
}

}  // namespace quenmark::cli
