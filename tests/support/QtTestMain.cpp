// Test main for widget tests: the temporary home of TestMain plus a QApplication, offscreen unless the
// environment chooses another platform.
#include "tests/support/TestHome.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    kestrano::test::TestHome home;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
