// Crosses the boundary on every line but the first include and the last.
#include <d3d9.h>
#include <SDL.h>
#include <GL/gl.h>
#include <mpg123.h>
#include "Device9.h"
#include <D3D9Testing.h>
#include "platform/d3d9/include/d3d9.h"
#include "render/Leaky.h"
