// The blob part's scene "blob.qor": a first camera, seen with a
// field-of-view scale of 1.5, and a first light, which the part flickers.
#pragma once

#include "scene/format/QorFile.h"

QorFile blobScene();
