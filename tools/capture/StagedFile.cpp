// Temporary names and the final rename.
#include "StagedFile.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

StagedFile::StagedFile(const std::string& a_path)
    : m_path(a_path), m_temporaryPath(a_path + ".part")
{
}

StagedFile::~StagedFile()
{
    if (!m_committed)
        discard();
}

bool StagedFile::commit()
{
    if (rename(m_temporaryPath.c_str(), m_path.c_str()) != 0)
    {
        fprintf(stderr, "tarvo-capture: cannot rename '%s' to '%s': %s\n", m_temporaryPath.c_str(),
                m_path.c_str(), strerror(errno));
        return false;
    }
    m_committed = true;
    return true;
}

void StagedFile::discard()
{
    unlink(m_temporaryPath.c_str());
}
