#include "ui_driver.h"

#include <QAccessible>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>
#include <QTest>

#include <functional>

namespace quenmark::demo {
namespace {

// Qt's status value of a picture still loading (QQuickImageBase::Loading).
constexpr int kImageLoading = 2;
// The SDK's picture states (quenmark::qt::RemoteImageModel::Status).
constexpr int kRemoteLoading = 0;
constexpr int kRemoteLoaded = 1;

// Visits the visible items below `item`, depth first, until `visit` returns true; returns that item.
QQuickItem* visitVisible(QQuickItem* item, const std::function<bool(QQuickItem*)>& visit) {
  if (item == nullptr || !item->isVisible()) return nullptr;
  if (visit(item)) return item;
  const auto children = item->childItems();
  for (QQuickItem* child : children) {
    if (QQuickItem* found = visitVisible(child, visit)) return found;
  }
  return nullptr;
}

bool isOfType(const QObject* object, const QString& typeName) {
  // QML-defined types are named "<Type>_QMLTYPE_<n>"; C++ ones by their class.
  for (const QMetaObject* meta = object->metaObject(); meta != nullptr; meta = meta->superClass()) {
    const QString name = QString::fromLatin1(meta->className());
    if (name == typeName || name.startsWith(typeName + QStringLiteral("_QMLTYPE_"))) return true;
  }
  return false;
}

// What a screen reader says first for `item` ("New this week, story 1 of 6").
QString accessibleName(QQuickItem* item) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(item);
  return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// A control or an item a screen reader announces as a button (the viewer's are plain items).
bool isButton(QQuickItem* item) {
  if (item->inherits("QQuickAbstractButton")) return true;
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(item);
  return accessible != nullptr && accessible->role() == QAccessible::Button;
}

// The SDK's picture loaders of the visible items below `root` that have a URL and are in `status`.
int countRemotePictures(QQuickItem* root, int status) {
  int count = 0;
  visitVisible(root, [&](QQuickItem* item) {
    const auto children = item->children();
    for (const QObject* child : children) {
      if (!child->inherits("quenmark::qt::RemoteImageModel") || child->property("url").toUrl().isEmpty()) continue;
      // Arrived counts once the view has put its placeholder away for the picture.
      const QObject* placeholder = item->findChild<QObject*>(QStringLiteral("placeholder"), Qt::FindDirectChildrenOnly);
      const bool drawn = placeholder == nullptr || !placeholder->property("active").toBool();
      const int shown = child->property("status").toInt();
      if (shown == status && (status != kRemoteLoaded || drawn)) ++count;
    }
    return false;
  });
  return count;
}

// Qt's own picture items below `root` still waiting for their picture.
int countLoadingImages(QQuickItem* root) {
  int count = 0;
  visitVisible(root, [&](QQuickItem* item) {
    if (item->inherits("QQuickImage") && item->property("status").toInt() == kImageLoading) ++count;
    return false;
  });
  return count;
}

}  // namespace

QQuickItem* UiDriver::rootOf(QQuickItem* root) const { return root != nullptr ? root : window_->contentItem(); }

QQuickItem* UiDriver::findType(const QString& typeName, QQuickItem* root) const {
  return visitVisible(rootOf(root), [&](QQuickItem* item) { return isOfType(item, typeName); });
}

QQuickItem* UiDriver::findNamed(const QString& objectName, QQuickItem* root) const {
  return visitVisible(rootOf(root), [&](QQuickItem* item) { return item->objectName() == objectName; });
}

QQuickItem* UiDriver::findButton(const QString& text, QQuickItem* root) const {
  return visitVisible(rootOf(root), [&](QQuickItem* item) {
    return isButton(item) && item->isEnabled() &&
           (item->property("text").toString() == text || accessibleName(item).startsWith(text + QLatin1Char(',')));
  });
}

bool UiDriver::isWhollyVisible(QQuickItem* item) const {
  const QRectF area(item->mapToScene(QPointF(0, 0)), item->size());
  return QRectF(QPointF(0, 0), window_->size()).contains(area);
}

bool UiDriver::isOpaque(QQuickItem* item) const {
  for (; item != nullptr; item = item->parentItem()) {
    if (item->opacity() < 1) return false;
  }
  return true;
}

int UiDriver::shownPictures(QQuickItem* root) const { return countRemotePictures(rootOf(root), kRemoteLoaded); }

int UiDriver::loadingPictures(QQuickItem* root) const {
  return countRemotePictures(rootOf(root), kRemoteLoading) + countLoadingImages(rootOf(root));
}

QImage UiDriver::grab(QQuickItem* item) const {
  const qreal ratio = window_->effectiveDevicePixelRatio();
  const QRectF area(item->mapToScene(QPointF(0, 0)), item->size());
  return window_->grabWindow().copy(QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect());
}

bool UiDriver::showsPicture(QQuickItem* item) const {
  const QImage image = grab(item);
  if (image.isNull()) return false;
  // Away from the indicators (dots at the bottom centre, segments along the top).
  QSet<QRgb> colours;
  for (int row = 0; row < 5; ++row) {
    for (int column = 0; column < 5; ++column) {
      const int x = image.width() * (5 + column * 6) / 100;
      const int y = image.height() * (30 + row * 10) / 100;
      colours.insert(image.pixel(x, y));
    }
  }
  return colours.size() > 3;
}

void UiDriver::click(QQuickItem* item) const {
  const QPoint centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
  QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, centre);
}

void UiDriver::retype(const QString& text) const {
  QTest::keyClick(window_, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(window_, Qt::Key_Delete);
  for (const char key : text.toLatin1()) QTest::keyClick(window_, key);
}

void UiDriver::drag(QQuickItem* item, QPointF from, QPointF to) const {
  const auto at = [item](QPointF fraction) {
    return item->mapToScene(QPointF(item->width() * fraction.x(), item->height() * fraction.y())).toPoint();
  };
  constexpr int kSteps = 8;
  QTest::mousePress(window_, Qt::LeftButton, Qt::NoModifier, at(from));
  for (int step = 1; step <= kSteps; ++step) {
    const double t = static_cast<double>(step) / kSteps;
    QTest::mouseMove(window_, at(from + (to - from) * t), 16);
  }
  QTest::mouseMove(window_, at(to), 200);
  QTest::mouseRelease(window_, Qt::LeftButton, Qt::NoModifier, at(to), 16);
}

}  // namespace quenmark::demo
