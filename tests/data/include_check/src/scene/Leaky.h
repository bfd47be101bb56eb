// Reaches a GL loader directly.
#pragma once
#include <epoxy/gl.h>
