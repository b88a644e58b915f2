#include "qt_conversions.h"

#include <QGuiApplication>

#include <array>
#include <cmath>
#include <utility>

namespace quenmark::qt {
namespace {

constexpr std::array<std::pair<FontWeight, QFont::Weight>, 9> kWeights{{
    {FontWeight::thin, QFont::Thin},
    {FontWeight::ultraLight, QFont::ExtraLight},
    {FontWeight::light, QFont::Light},
    {FontWeight::regular, QFont::Normal},
    {FontWeight::medium, QFont::Medium},
    {FontWeight::semibold, QFont::DemiBold},
    {FontWeight::bold, QFont::Bold},
    {FontWeight::heavy, QFont::ExtraBold},
    {FontWeight::black, QFont::Black},
}};

}  // namespace

QColor toQColor(const Color& color) {
  return QColor::fromRgbF(static_cast<float>(color.red()), static_cast<float>(color.green()),
                          static_cast<float>(color.blue()), static_cast<float>(color.alpha()));
}

QFont toQFont(const FontDescription& font) {
  QFont result = font.family() ? QFont(QString::fromStdString(*font.family())) : QGuiApplication::font();
  result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size()))));
  for (const auto& [core, qt] : kWeights) {
    if (core == font.weight()) result.setWeight(qt);
  }
  return result;
}

FontWeight fontWeightFromQt(int weight) {
  auto nearest = kWeights.front();
  for (const auto& entry : kWeights) {
    if (std::abs(entry.second - weight) < std::abs(nearest.second - weight)) nearest = entry;
  }
  return nearest.first;
}

std::optional<Url> toCoreUrl(const QUrl& url) {
  if (url.isEmpty()) return std::nullopt;
  return Url::parse(url.toString(QUrl::FullyEncoded).toStdString());
}

}  // namespace quenmark::qt
