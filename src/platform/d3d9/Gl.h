// The one way into OpenGL for the d3d9 layer: every GL entry point comes
// through libepoxy's loader, so nothing calls GL behind its back.
#pragma once

#include <epoxy/gl.h>
