#include "widget_words.h"

namespace quenmark::demo {

QStringList widgetWordLocales() { return {QStringLiteral("en_US"), QStringLiteral("de_DE"), QStringLiteral("fr_FR")}; }

StoryUIStrings widgetWords(const QString& locale) {
  if (locale.startsWith(QLatin1String("de"))) {
    return StoryUIStrings("Abstimmen", "Quiz", "Umfrage", "Quiz", "Wischen", "Nach oben wischen", "Stimme", "Stimmen",
                          "Antwort", "Antworten");
  }
  if (locale.startsWith(QLatin1String("fr"))) {
    return StoryUIStrings("Votez", "Quiz", "Sondage", "Quiz", "Glisser", "Glissez vers le haut", "vote", "votes",
                          "réponse", "réponses");
  }
  return StoryUIStrings::defaultStrings();
}

}  // namespace quenmark::demo
