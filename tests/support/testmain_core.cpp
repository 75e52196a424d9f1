// Entry point of the test programs of window-free logic: a QCoreApplication, then
// GoogleTest.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "support/testenv.h"

int main(int argc, char **argv)
{
    testenv::prepareProcessEnvironment();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
