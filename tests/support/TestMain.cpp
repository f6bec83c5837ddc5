// Test main: HOME and the XDG folders point at a temporary folder, so no test touches the real home.
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    kestrano::test::TestHome home;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
