// One compiled vertex or pixel shader program from the archive, with the
// constant table of its byte code, through which its constants are set by name.
#pragma once

#include "render/ShaderKind.h"

#include "core/ReturnCode.h"

#include <d3d9.h>
#include <d3dx9.h>

class Renderer;

class Shader
{
public:
    // A ready shader, or null when the file is missing (after its message)
    // or the device refuses the byte code (silently).
    static Shader* create(ShaderKind a_kind, Renderer* a_renderer, const char* a_name);
    virtual ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Makes this the device's current shader of its kind.
    void bind();

    // Constants by name, into the device's registers of this shader's kind;
    // a name the table lacks changes nothing.
    ID3DXConstantTable* getConstantTable();
    void setFloat(const char* a_name, float a_value);
    void setVector(const char* a_name, const D3DXVECTOR4& a_value);
    void setMatrix(const char* a_name, const D3DXMATRIX& a_value);
    void setBool(const char* a_name, BOOL a_value);

    IDirect3DVertexShader9* m_d3dVertexShader = nullptr;  // when m_kind is Vertex
    IDirect3DPixelShader9* m_d3dPixelShader = nullptr;    // when m_kind is Pixel
    ID3DXConstantTable* m_constantTable = nullptr;        // null for programs without one
    Renderer* m_renderer = nullptr;                       // not owned
    ShaderKind m_kind = ShaderKind::Vertex;

private:
    Shader() = default;
    ReturnCode load(ShaderKind a_kind, Renderer* a_renderer, const char* a_name);
    void loadConstantTable(const DWORD* a_code);
};
