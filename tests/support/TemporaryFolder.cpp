// Per-test scratch folders.
#include "support/TemporaryFolder.h"

#include <random>
#include <stdexcept>

// create_directory is false when the folder exists already, so a name taken
// by another test process is never shared; POSIX's mkdtemp does the same,
// but the Windows build's C library has none.
TemporaryFolder::TemporaryFolder(bool a_enter)
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; m_path.empty(); ++attempt)
    {
        if (attempt == 100)
            throw std::runtime_error("no temporary folder could be made in " + base.string());
        const std::filesystem::path candidate =
            base / ("tarvo-test-" + std::to_string(random() % 1000000000000ull));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error))
            m_path = candidate;
    }
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
