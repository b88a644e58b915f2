#pragma once

#include <quenmark/sdk/story_ui_strings.h>

#include <QString>
#include <QStringList>

namespace quenmark::demo {

/// The locales the demo's settings offer ("en_US" first).
QStringList widgetWordLocales();

/// The widget words a host would pass to `configure` for `locale`: English, German or French; English
/// for any other locale.
StoryUIStrings widgetWords(const QString& locale);

}  // namespace quenmark::demo
