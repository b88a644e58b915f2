#include "demo_options.h"

namespace quenmark::demo {

QString demoUsage() {
  return QStringLiteral(
      "Usage: quenmark-demo [--base-url URL] [--screenshots DIR] [--content FILE]\n"
      "                     [--app-key KEY] [--sdk-key KEY]\n"
      "\n"
      "A Qt Quick host of the Quenmark Stories SDK: the sample app's home screen with its story bar,\n"
      "banners and host events, and settings for user id, locale and preview mode.\n"
      "\n"
      "  --base-url URL     use the content service at URL instead of starting the reference service\n"
      "                     in-process with the sample content\n"
      "  --screenshots DIR  render offscreen, write PNG pictures of the screens to DIR, print their\n"
      "                     paths and exit\n"
      "  --content FILE     content file of the in-process service (default: the sample content)\n"
      "  --app-key KEY      app key (default demo-app)\n"
      "  --sdk-key KEY      SDK key (default demo-sdk-key)\n");
}

std::variant<DemoOptions, UsageError> parseDemoOptions(const QStringList& arguments,
                                                       const QString& defaultContentFile) {
  DemoOptions options;
  options.contentFile = defaultContentFile;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& name = arguments[i];
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
      options.help = true;
      continue;
    }
    const bool takesValue = name == QLatin1String("--base-url") || name == QLatin1String("--screenshots") ||
                            name == QLatin1String("--content") || name == QLatin1String("--app-key") ||
                            name == QLatin1String("--sdk-key");
    if (!takesValue) return UsageError{QStringLiteral("unknown option %1").arg(name)};
    if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
      return UsageError{QStringLiteral("%1 needs a value").arg(name)};
    }
    const QString value = arguments[++i];
    if (name == QLatin1String("--base-url")) {
      const QUrl url(value, QUrl::StrictMode);
      const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
      if (!url.isValid() || !web || url.host().isEmpty()) {
        return UsageError{QStringLiteral("--base-url needs an http or https URL, not %1").arg(value)};
      }
      options.baseUrl = url;
    } else if (name == QLatin1String("--screenshots")) {
      options.screenshotDir = value;
    } else if (name == QLatin1String("--content")) {
      options.contentFile = value;
    } else if (name == QLatin1String("--app-key")) {
      options.appKey = value;
    } else {
      options.sdkKey = value;
    }
  }
  return options;
}

}  // namespace quenmark::demo
