#pragma once

#include <QImage>
#include <QPointF>
#include <QString>

class QQuickItem;
class QQuickWindow;

namespace quenmark::demo {

/// Finds what a user sees in a Qt Quick window and acts on it with synthesised mouse input, as a person
/// at the screen would. Items count only while they and their ancestors are visible. GUI thread only.
class UiDriver {
 public:
  explicit UiDriver(QQuickWindow* window) : window_(window) {}

  /// The first visible item below `root` (the whole window when null) whose QML type is `typeName`
  /// ("StoryViewerView"), or null.
  QQuickItem* findType(const QString& typeName, QQuickItem* root = nullptr) const;
  /// The first visible item with this object name, or null.
  QQuickItem* findNamed(const QString& objectName, QQuickItem* root = nullptr) const;
  /// The first visible, enabled button showing `text`, or whose accessible name is `text` followed by
  /// a comma and more ("New this week, story 1 of 6"), or null.
  QQuickItem* findButton(const QString& text, QQuickItem* root = nullptr) const;

  /// True when all of `item` lies inside the window.
  bool isWhollyVisible(QQuickItem* item) const;
  /// True when `item` and everything it is drawn in are fully opaque (no fade under way).
  bool isOpaque(QQuickItem* item) const;

  /// Remote pictures (`StoryRemoteImage`s) below `root` that have arrived.
  int shownPictures(QQuickItem* root) const;
  /// Remote pictures below `root` still on their way, to the SDK or from it to the scene.
  int loadingPictures(QQuickItem* root) const;

  /// What the window shows under `item`, at the window's pixel density.
  QImage grab(QQuickItem* item) const;
  /// True when the middle of `item`'s left half shows more than a flat colour: a picture, not a
  /// placeholder or an empty slot (what a person glancing at it would tell).
  bool showsPicture(QQuickItem* item) const;

  /// A press and release at the centre of `item`.
  void click(QQuickItem* item) const;
  /// Replaces the text of the focused field with `text`, typed key by key.
  void retype(const QString& text) const;
  /// A finger-like drag across `item` from one point to another, given as fractions of its size,
  /// held still at the end so that nothing flicks on.
  void drag(QQuickItem* item, QPointF from, QPointF to) const;

 private:
  QQuickItem* rootOf(QQuickItem* root) const;
  QQuickWindow* window_;
};

}  // namespace quenmark::demo
