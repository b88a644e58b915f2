#include "glyph_item.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <map>
#include <mutex>
#include <string_view>

namespace quenmark::qt {
namespace {

/// A glyph on the 24 x 24 grid, as SVG path data.
struct Glyph {
  std::string_view name;
  std::string_view fill;    // a filled outline (odd-even)
  std::string_view stroke;  // round-capped lines
  double width;             // of the lines
  bool disc = false;        // a full disc under the lines, which are cut into it
};

/// Drawn glyphs kept at most; more (many colours or sizes) start the cache anew.
constexpr std::size_t kMaximumDrawnGlyphs = 64;

constexpr std::string_view kDisc = "M12 1.5a10.5 10.5 0 1 0 0.01 0z";

constexpr Glyph kGlyphs[] = {
    {"pause", "M6 4h4v16H6z M14 4h4v16h-4z", {}, 0},
    {"close", {}, "M6 6L18 18 M18 6L6 18", 2.6},
    {"photo",
     "M2 4h20v16H2z M3.8 5.8v12.4h16.4V5.8z M5 17l5-6.2 3.6 4.2 2.4-2.8 3 4.8z M16.5 7.5a1.8 1.8 0 1 0 0.01 0z",
     {},
     0},
    {"check", {}, "M5 12.5l4.6 4.6L19 7.6", 3},
    {"checkCircle", {}, "M7.2 12.4l3.2 3.2 6.4-6.6", 2.4, true},
    {"crossCircle", {}, "M8.5 8.5l7 7 M15.5 8.5l-7 7", 2.4, true},
    {"arrowUpCircle", {}, "M12 17.5V7 M7.8 11.2L12 7l4.2 4.2", 2.4, true},
    {"circle", {}, "M12 3a9 9 0 1 0 0.01 0z", 2},
    {"chart", "M4 13h4v8H4z M10 8h4v13h-4z M16 3h4v18h-4z", {}, 0},
    {"chevronUp", {}, "M5 15.5l7-7 7 7", 3.2},
    {"spinner", {}, "M12 3a9 9 0 1 0 9 9", 2.4},
    {"speaker", "M3 9h4l5.5-4.5v15L7 15H3z", "M15.5 9a4.5 4.5 0 0 1 0 6 M18 6.5a8 8 0 0 1 0 11", 1.8},
    {"speakerMuted", "M3 9h4l5.5-4.5v15L7 15H3z", "M15.5 9.5l5 5 M20.5 9.5l-5 5", 1.8},
};

const Glyph* findGlyph(const QString& name) {
  for (const Glyph& glyph : kGlyphs) {
    if (name == QLatin1String(glyph.name.data(), qsizetype(glyph.name.size()))) return &glyph;
  }
  return nullptr;
}

QByteArray svgPaint(const QColor& color) {
  if (color.alpha() == 0) return "none";
  return color.name(QColor::HexRgb).toLatin1() + "\" opacity=\"" + QByteArray::number(color.alphaF());
}

/// The glyph as an SVG document in `color`, its cut lines in `knockout`.
QByteArray svgOf(const Glyph& glyph, const QColor& color, const QColor& knockout) {
  const std::string_view fill = glyph.disc ? kDisc : glyph.fill;
  QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 24 24\">";
  if (!fill.empty()) {
    svg += "<path fill-rule=\"evenodd\" fill=\"" + svgPaint(color) + "\" d=\"" +
           QByteArray(fill.data(), qsizetype(fill.size())) + "\"/>";
  }
  if (!glyph.stroke.empty()) {
    svg += "<path fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\" stroke-width=\"" +
           QByteArray::number(glyph.width) + "\" stroke=\"" + svgPaint(glyph.disc ? knockout : color) + "\" d=\"" +
           QByteArray(glyph.stroke.data(), qsizetype(glyph.stroke.size())) + "\"/>";
  }
  return svg + "</svg>";
}

}  // namespace

GlyphItem::GlyphItem(QQuickItem* parent) : QQuickPaintedItem(parent) { setAntialiasing(true); }

void GlyphItem::setName(const QString& name) {
  if (name == name_) return;
  name_ = name;
  update();
  Q_EMIT nameChanged();
}

void GlyphItem::setColor(const QColor& color) {
  if (color == color_) return;
  color_ = color;
  update();
  Q_EMIT colorChanged();
}

void GlyphItem::setKnockoutColor(const QColor& color) {
  if (color == knockoutColor_) return;
  knockoutColor_ = color;
  update();
  Q_EMIT knockoutColorChanged();
}

void GlyphItem::paint(QPainter* painter) {
  const Glyph* glyph = findGlyph(name_);
  const QSizeF size = boundingRect().size();
  if (glyph == nullptr || size.isEmpty()) return;
  // The glyphs are few, in few colours and sizes, so each is drawn once and kept. Render threads (one
  // per window) share them.
  static std::mutex mutex;
  static auto* const drawn = new std::map<QByteArray, QImage>();  // lives until exit
  const qreal ratio = painter->device()->devicePixelRatioF();
  const QSize pixels = (size * ratio).toSize().expandedTo(QSize(1, 1));
  const QByteArray svg = svgOf(*glyph, color_, knockoutColor_);
  QImage image;
  {
    std::lock_guard lock(mutex);
    const QByteArray key = svg + ' ' + QByteArray::number(pixels.width()) + 'x' + QByteArray::number(pixels.height());
    auto found = drawn->find(key);
    if (found == drawn->end()) {
      if (drawn->size() >= kMaximumDrawnGlyphs) drawn->clear();
      QImage made(pixels, QImage::Format_ARGB32_Premultiplied);
      made.fill(Qt::transparent);
      QPainter onImage(&made);
      onImage.setRenderHint(QPainter::Antialiasing);
      QSvgRenderer(svg).render(&onImage, QRectF(QPointF(), QSizeF(pixels)));
      onImage.end();
      found = drawn->emplace(key, std::move(made)).first;
    }
    image = found->second;
  }
  painter->drawImage(QRectF(QPointF(), size), image);
}

}  // namespace quenmark::qt
