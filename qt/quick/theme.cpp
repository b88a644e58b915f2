#include "theme.h"

#include "qt_conversions.h"

#include <quenmark/model/story_theme.h>

namespace quenmark::qt {

Theme* Theme::create(QQmlEngine*, QJSEngine*) { return new Theme(); }  // the engine owns it

QColor Theme::defaultPrimaryColor() const { return toQColor(StoryTheme::defaultTheme().primaryColor()); }

QColor Theme::defaultSecondaryColor() const { return toQColor(StoryTheme::defaultTheme().secondaryColor()); }

QFont Theme::font(qreal size, int weight) const {
  return toQFont(StoryTheme::defaultTheme().font(size, fontWeightFromQt(weight)));
}

}  // namespace quenmark::qt
