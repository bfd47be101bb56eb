// Per-test scratch folders.
#include "support/TemporaryFolder.h"

#include <stdlib.h>

#include <stdexcept>

TemporaryFolder::TemporaryFolder(bool a_enter)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
    if (a_enter)
    {
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_path);
    }
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code error;
    if (!m_previous.empty())
        std::filesystem::current_path(m_previous, error);
    std::filesystem::remove_all(m_path, error);
}
