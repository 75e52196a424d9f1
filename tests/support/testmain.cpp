// Entry point of every test program: a QApplication on the platform ctest chose
// (offscreen unless the test needs X), the Qt dialogs behind the prompts as in the
// program (a test that installs no script meets the real boxes), then GoogleTest.
#include <QApplication>
#include <gtest/gtest.h>

#include "coregui/qtprompts.h"
#include "support/testenv.h"

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testenv::prepareProcessEnvironment();
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication app(argc, argv);
    prompts::useQtDialogs();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
