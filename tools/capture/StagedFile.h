// An output written under a temporary name beside its final one and renamed
// only when complete, so that no half-written file ever carries the final
// name (the rename is atomic on one file system).
#pragma once

#include <string>

class StagedFile
{
public:
    explicit StagedFile(const std::string& a_path);
    // Removes the temporary file unless committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::string& path() const { return m_path; }
    // Where to write: the final name with ".part" appended.
    const std::string& temporaryPath() const { return m_temporaryPath; }

    // Renames the temporary file to the final name. False, with a message on
    // standard error, when that fails.
    bool commit();
    // Removes the temporary file.
    void discard();

private:
    std::string m_path;
    std::string m_temporaryPath;
    bool m_committed = false;
};
