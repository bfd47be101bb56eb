// D3DX 9 as the system sees it: one header that brings in every part of the
// helper library that the system uses.
#pragma once

#include "d3dx9math.h"
#include "d3dx9mesh.h"
#include "d3dx9shader.h"
#include "d3dx9tex.h"
