// The balls part's scene "balls.qor": a first camera and a first
// light, which the part flickers.
#pragma once

#include "scene/format/QorFile.h"

QorFile ballsScene();
