#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <variant>

namespace quenmark::demo {

/// What the command line asks of the demo.
struct DemoOptions {
  /// The content service to use; absent starts the reference service in-process with the sample content.
  std::optional<QUrl> baseUrl;
  /// Set: render offscreen, write the screenshots here, print their paths and exit.
  QString screenshotDir;
  /// The content the in-process service serves (its media directory is `media` beside it).
  QString contentFile;
  QString appKey = QStringLiteral("demo-app");
  QString sdkKey = QStringLiteral("demo-sdk-key");
  /// Asked for --help: print `usage` and exit 0.
  bool help = false;
};

/// A command line the demo cannot run with: print the text and exit with status 2.
struct UsageError {
  QString message;
};

/// Reads the arguments (the program name first). Needs no application object.
std::variant<DemoOptions, UsageError> parseDemoOptions(const QStringList& arguments, const QString& defaultContentFile);

/// The --help text.
QString demoUsage();

}  // namespace quenmark::demo
