// The Qt Quick Test harness: runs the tst_*.qml file named by -input (one ctest per file), offscreen with
// the software scene graph. Every engine imports Quenmark.Stories from the resources of the linked module
// and Quenmark.Stories.Testing from here.
#include "quick_test_support.h"

#include <QtQuickTest/quicktest.h>
#include <QObject>
#include <QQmlEngine>

namespace {

class Setup : public QObject {
  Q_OBJECT

 public Q_SLOTS:
  void applicationAvailable() {
    quenmark::qttest::QuickTestSupport::setUpProcess();
    qmlRegisterSingletonType<quenmark::qttest::QuickTestSupport>("Quenmark.Stories.Testing", 1, 0, "TestSupport",
                                                                 &quenmark::qttest::QuickTestSupport::create);
  }
  void qmlEngineAvailable(QQmlEngine* engine) { engine->addImportPath(QStringLiteral("qrc:/qt/qml")); }
  void cleanupTestCase() { quenmark::qttest::QuickTestSupport::tearDownProcess(); }
};

}  // namespace

QUICK_TEST_MAIN_WITH_SETUP(quenmark_quick, Setup)

#include "quick_test_main.moc"
