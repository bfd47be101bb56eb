// ReturnCode: results must be examined before they are destroyed.
#include "core/ReturnCode.h"

#include <gtest/gtest.h>

namespace
{

ReturnCode operation(int32_t a_code, bool a_checked = false)
{
    return ReturnCode(a_code, a_checked);
}

}

// Testing a result answers from m_code and marks it examined.
TEST(ReturnCode, TestsAnswerAndMarkExamined)
{
    const struct
    {
        int32_t code;
        bool succeeded;
    } cases[] = {
        {ReturnCode::kSuccess, true},
        {ReturnCode::kFailure, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.code);
        ReturnCode first = operation(c.code);
        EXPECT_FALSE(first.m_checked);
        EXPECT_EQ(first.succeeded(), c.succeeded);
        EXPECT_TRUE(first.m_checked);

        ReturnCode second = operation(c.code);
        EXPECT_EQ(second.failed(), !c.succeeded);
        EXPECT_TRUE(second.m_checked);
    }
}

// A result returned already checked may be ignored, success or failure.
TEST(ReturnCode, PreCheckedResultMayBeIgnored)
{
    operation(ReturnCode::kSuccess, true);
    operation(ReturnCode::kFailure, true);
}

// Destroying a result nobody tested fails "m_checked" in ReturnCode.
TEST(ReturnCodeDeathTest, UnexaminedResultFailsAssertion)
{
    EXPECT_DEATH(operation(ReturnCode::kSuccess), "m_checked, file ReturnCode\\.cpp");
    EXPECT_DEATH(operation(ReturnCode::kFailure), "m_checked, file ReturnCode\\.cpp");
}
