// A scene file's records as text a person can read and a test can compare:
// the frame count, then every record in file order with its counts, material
// slots, geometry bounds and which tracks move.
#pragma once

#include "scene/format/QorFile.h"

#include <string>

std::string dumpScene(const QorFile& a_file);
