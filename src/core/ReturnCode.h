// The result of every fallible operation: success or failure, which its
// receiver must examine. Destroying a result nobody tested fails an assertion.
#pragma once

#include <stdint.h>

class ReturnCode
{
public:
    static constexpr int32_t kFailure = 0;
    static constexpr int32_t kSuccess = 1;

    // A result is built in its receiver's storage and never copied.
    explicit ReturnCode(int32_t a_code, bool a_checked = false)
        : m_code(a_code), m_checked(a_checked)
    {
    }
    ~ReturnCode();
    ReturnCode(const ReturnCode&) = delete;
    ReturnCode& operator=(const ReturnCode&) = delete;

    // Testing the result marks it examined.
    bool succeeded()
    {
        m_checked = true;
        return m_code == kSuccess;
    }
    bool failed()
    {
        m_checked = true;
        return m_code == kFailure;
    }

    int32_t m_code;  // 1 success, 0 failure
    bool m_checked;
};
