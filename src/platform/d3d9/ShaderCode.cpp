// A translated shader compiled into a GL shader object.
#include "ShaderCode.h"

#include "GlProgram.h"
#include "ShaderTranslator.h"

HRESULT ShaderCode::create(const DWORD* a_tokens, bool a_vertex)
{
    const HRESULT translated = ShaderTranslator::translate(a_tokens, a_vertex, &m_translated);
    if (translated != D3D_OK)
        return translated;
    m_shader = GlProgram::compile(a_vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER,
                                  m_translated.glsl.c_str());
    return m_shader ? D3D_OK : D3DERR_INVALIDCALL;
}

void ShaderCode::releaseGl()
{
    if (m_shader)
        glDeleteShader(m_shader);
    m_shader = 0;
}
