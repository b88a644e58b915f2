#pragma once

#include <QtQml/qqml.h>
#include <QAbstractItemModel>

namespace quenmark::qt {

// Qt 6.4 describes no item model to QML's tools: these let qmllint resolve the base classes of the
// adapters that list rows (StoryBarModel).
struct AbstractItemModelForeign {
  Q_GADGET
  QML_FOREIGN(QAbstractItemModel)
  QML_ANONYMOUS
};

struct AbstractListModelForeign {
  Q_GADGET
  QML_FOREIGN(QAbstractListModel)
  QML_ANONYMOUS
};

}  // namespace quenmark::qt
