// A fresh folder for one test, removed afterwards; optionally made the
// working directory while it exists.
#pragma once

#include <filesystem>
#include <string>

class TemporaryFolder
{
public:
    explicit TemporaryFolder(bool a_enter = false);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& a_name) const { return (m_path / a_name).string(); }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;  // working directory to return to, when entered
};
