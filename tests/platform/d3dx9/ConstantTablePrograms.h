// The programs whose constant tables the constant-table tests read: a vertex
// shader with one constant of each class and type, and a small pixel shader,
// assembled by qorasm's assembler.
#pragma once

#include <d3d9.h>

#include <vector>

extern const char* const g_vertexSource;
extern const char* const g_pixelSource;

// The byte code of a_source; the test fails on an assembly error.
std::vector<DWORD> assemble(const char* a_source);
