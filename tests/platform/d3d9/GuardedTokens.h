// Shader tokens copied to the very end of a readable page that an unreadable
// page follows, so that reading one token past them crashes the test.
#pragma once

#include <d3d9.h>

#include <stddef.h>
#include <vector>

class GuardedTokens
{
public:
    explicit GuardedTokens(const std::vector<DWORD>& a_tokens);
    ~GuardedTokens();
    GuardedTokens(const GuardedTokens&) = delete;
    GuardedTokens& operator=(const GuardedTokens&) = delete;

    const DWORD* tokens() const { return m_tokens; }

private:
    size_t m_page = 0;
    void* m_memory = nullptr;
    DWORD* m_tokens = nullptr;
};
