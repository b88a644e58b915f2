#pragma once

#include <quenmark/model/color.h>
#include <quenmark/model/font_description.h>
#include <quenmark/model/font_weight.h>
#include <quenmark/url.h>

#include <QColor>
#include <QFont>
#include <QUrl>

#include <optional>

// Conversions between the core's values and Qt's, for the adapters. Only adapters convert.
namespace quenmark::qt {

QColor toQColor(const Color& color);

/// The font a view draws with. Sizes are logical pixels (the core's points).
QFont toQFont(const FontDescription& font);

/// QML's `Font.Normal`, `Font.Bold`, ... as the core's weights (the nearest one for values in between).
FontWeight fontWeightFromQt(int weight);

/// The core's URL for a URL set from QML; absent for an empty URL and for one that is not absolute.
std::optional<Url> toCoreUrl(const QUrl& url);

}  // namespace quenmark::qt
