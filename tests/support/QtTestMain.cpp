// Test main for widget tests: the temporary home of TestMain plus a QApplication (offscreen under CTest).
#include "tests/support/TestHome.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    kestrano::test::TestHome home;
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
