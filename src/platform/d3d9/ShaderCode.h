// A translated shader compiled into a GL shader object.
#pragma once

#include "Gl.h"
#include "TranslatedShader.h"

#include <d3d9.h>

class ShaderCode
{
public:
    // Translates and compiles; D3DERR_INVALIDCALL (logged) on any failure.
    HRESULT create(const DWORD* a_tokens, bool a_vertex);
    // The owner releases the GL shader; destruction does not touch GL.
    void releaseGl();

    GLuint shader() const { return m_shader; }
    const TranslatedShader& translated() const { return m_translated; }

private:
    TranslatedShader m_translated;
    GLuint m_shader = 0;
};
