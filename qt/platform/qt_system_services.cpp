#include "qt_system_services.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QString>
#include <QUrl>

namespace quenmark::qt {
namespace {

/// QFontDatabase and QDesktopServices need the GUI application (a plain QCoreApplication aborts them).
bool hasGuiApplication() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

bool QtFontCatalog::hasFamily(std::string_view family) const {
  if (family.empty() || !hasGuiApplication()) return false;
  const QString name = QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
  return QFontDatabase::families().contains(name, Qt::CaseSensitive);
}

void DesktopUrlOpener::open(const Url& url) {
  if (!hasGuiApplication()) return;
  const QUrl target(QString::fromStdString(url.string()), QUrl::StrictMode);
  if (target.isValid()) QDesktopServices::openUrl(target);
}

}  // namespace quenmark::qt
