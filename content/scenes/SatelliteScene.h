// The satellite part's scene "satellite.qor": a first camera,
// whose field of view the part breathes between 0.5 and 1.5 times the
// exported one.
#pragma once

#include "scene/format/QorFile.h"

QorFile satelliteScene();
