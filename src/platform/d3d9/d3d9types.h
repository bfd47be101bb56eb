// Direct3D 9's shared value types, with the real API's names and memory layout.
#pragma once

#include <windows.h>

// A packed 32-bit colour: alpha in the top byte, then red, green, blue.
typedef DWORD D3DCOLOR;

struct D3DVECTOR
{
    float x;
    float y;
    float z;
};

struct D3DCOLORVALUE
{
    float r;
    float g;
    float b;
    float a;
};

// Row-major 4 x 4 matrix; _RC is row R, column C, the same float as m[R-1][C-1].
// The anonymous struct is how the real header names the elements; __extension__
// keeps -Wpedantic quiet about it.
struct D3DMATRIX
{
    union
    {
        __extension__ struct
        {
            float _11, _12, _13, _14;
            float _21, _22, _23, _24;
            float _31, _32, _33, _34;
            float _41, _42, _43, _44;
        };
        float m[4][4];
    };
};
