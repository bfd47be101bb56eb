// The shipped archive with one file changed, as a user who puts their own
// song (or a damaged file) into it makes it.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// Writes the archive at a_shipped to a_path with the file a_name's bytes
// replaced by a_bytes, or left out when a_bytes is empty; false if the
// shipped archive cannot be read.
bool rewriteArchive(const std::string& a_shipped, const std::string& a_path,
                    const std::string& a_name, const std::vector<uint8_t>& a_bytes);
