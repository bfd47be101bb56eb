// The program's assertion: active whatever the build type, reporting like the
// C runtime's assert and aborting.

// Release builds define NDEBUG; the assertion must not care.
#ifndef NDEBUG
#define NDEBUG
#endif

#include "core/Assert.h"

#include <gtest/gtest.h>

#include <signal.h>

namespace
{

int checkPositive(int a_value)
{
    TARVO_ASSERT(a_value > 0 && "positive");
    return a_value;
}

}

// A holding assertion lets the program go on.
TEST(Assert, HoldingAssertionDoesNothing)
{
    EXPECT_EQ(checkPositive(3), 3);
}

// A failing one reports expression, source name and line, then aborts even
// with NDEBUG defined.
TEST(AssertDeathTest, FailingAssertionReportsAndAborts)
{
    EXPECT_EXIT(
        checkPositive(-1), testing::KilledBySignal(SIGABRT),
        "Assertion failed: a_value > 0 && \"positive\", file AssertTest\\.cpp, line [0-9]+");
}
