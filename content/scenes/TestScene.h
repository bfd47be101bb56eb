// The test part's scene "test.qor": the cameras "Camera01",
// "Camera02" and "Camera03", which the part looks up by name.
#pragma once

#include "scene/format/QorFile.h"

QorFile testScene();
