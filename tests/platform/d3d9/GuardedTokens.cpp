// The tests' shader streams are left with no slack after them; a failed
// allocation leaves no tokens (null), which every create call refuses.
#include "GuardedTokens.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <string.h>

GuardedTokens::GuardedTokens(const std::vector<DWORD>& a_tokens)
{
#ifdef _WIN32
    SYSTEM_INFO system = {};
    GetSystemInfo(&system);
    m_page = system.dwPageSize;
    m_memory = VirtualAlloc(nullptr, m_page * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    EXPECT_NE(m_memory, nullptr);
    if (!m_memory)
        return;
    DWORD previous = 0;
    EXPECT_TRUE(
        VirtualProtect(static_cast<char*>(m_memory) + m_page, m_page, PAGE_NOACCESS, &previous));
#else
    m_page = size_t(sysconf(_SC_PAGESIZE));
    m_memory =
        mmap(nullptr, m_page * 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    EXPECT_NE(m_memory, MAP_FAILED);
    if (m_memory == MAP_FAILED)
    {
        m_memory = nullptr;
        return;
    }
    EXPECT_EQ(mprotect(static_cast<char*>(m_memory) + m_page, m_page, PROT_NONE), 0);
#endif
    m_tokens = reinterpret_cast<DWORD*>(static_cast<char*>(m_memory) + m_page -
                                        a_tokens.size() * sizeof(DWORD));
    memcpy(m_tokens, a_tokens.data(), a_tokens.size() * sizeof(DWORD));
}

GuardedTokens::~GuardedTokens()
{
    if (!m_memory)
        return;
#ifdef _WIN32
    VirtualFree(m_memory, 0, MEM_RELEASE);
#else
    munmap(m_memory, m_page * 2);
#endif
}
