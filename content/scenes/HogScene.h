// The hog part's scene "hog.qor": at least three cameras, which
// the part cycles through every 16 beats, and a first light it flickers.
#pragma once

#include "scene/format/QorFile.h"

QorFile hogScene();
