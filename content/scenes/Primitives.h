// The built-in scene "primitives.qor": its first mesh is the omni lights'
// volume, a closed sphere of unit diameter facing outward, which each light
// scales by twice its far fall-off. It holds no lights.
#pragma once

#include "scene/format/QorFile.h"

QorFile primitivesScene();
