// Shader loading and constants.
#include "render/Shader.h"

#include "archive/FileSystem.h"
#include "core/Assert.h"
#include "render/Renderer.h"

#include <string.h>

#include <new>
#include <vector>

Shader* Shader::create(ShaderKind a_kind, Renderer* a_renderer, const char* a_name)
{
    Shader* shader = new (std::nothrow) Shader();
    TARVO_ASSERT(shader);
    ReturnCode loaded = shader->load(a_kind, a_renderer, a_name);
    if (loaded.failed())
    {
        delete shader;
        return nullptr;
    }
    return shader;
}

Shader::~Shader()
{
    if (m_d3dVertexShader)
    {
        m_d3dVertexShader->Release();
        m_d3dVertexShader = nullptr;
    }
    if (m_d3dPixelShader)
    {
        m_d3dPixelShader->Release();
        m_d3dPixelShader = nullptr;
    }
    if (m_constantTable)
    {
        m_constantTable->Release();
        m_constantTable = nullptr;
    }
}

// The byte code is used as stored: a stream of 32-bit tokens from the
// version token on. The archive's bytes are not copied.
ReturnCode Shader::load(ShaderKind a_kind, Renderer* a_renderer, const char* a_name)
{
    m_kind = a_kind;
    m_renderer = a_renderer;

    File file;
    ReturnCode read = FileSystem::readFile(a_name, file);
    if (read.failed())
        return ReturnCode(ReturnCode::kFailure);
    const uint8_t* code = file.m_data;
    TARVO_ASSERT(code);
    // Entries lie back to back in the archive, so byte code may start at any
    // byte; tokens are read as 32-bit values, which C++ only allows aligned.
    std::vector<DWORD> aligned;
    const DWORD* tokens = reinterpret_cast<const DWORD*>(code);
    if (reinterpret_cast<uintptr_t>(code) % alignof(DWORD) != 0)
    {
        aligned.resize((file.m_size + sizeof(DWORD) - 1) / sizeof(DWORD));
        memcpy(aligned.data(), code, file.m_size);
        tokens = aligned.data();
    }

    IDirect3DDevice9* device = m_renderer->device();
    const HRESULT created = m_kind == ShaderKind::Vertex
                                ? device->CreateVertexShader(tokens, &m_d3dVertexShader)
                                : device->CreatePixelShader(tokens, &m_d3dPixelShader);
    if (FAILED(created))
        return ReturnCode(ReturnCode::kFailure);

    loadConstantTable(tokens);
    return ReturnCode(ReturnCode::kSuccess);
}

// A program without a table still loads; setting a constant on it fails the
// "m_constantTable" assertion.
void Shader::loadConstantTable(const DWORD* a_code)
{
    TARVO_ASSERT(a_code);
    if (FAILED(D3DXGetShaderConstantTable(a_code, &m_constantTable)))
        m_constantTable = nullptr;
}

void Shader::bind()
{
    IDirect3DDevice9* device = m_renderer->device();
    if (m_kind == ShaderKind::Vertex)
        device->SetVertexShader(m_d3dVertexShader);
    else
        device->SetPixelShader(m_d3dPixelShader);
}

ID3DXConstantTable* Shader::getConstantTable()
{
    TARVO_ASSERT(m_constantTable);
    return m_constantTable;
}

void Shader::setFloat(const char* a_name, float a_value)
{
    getConstantTable()->SetFloat(m_renderer->device(), a_name, a_value);
}

void Shader::setVector(const char* a_name, const D3DXVECTOR4& a_value)
{
    getConstantTable()->SetVector(m_renderer->device(), a_name, &a_value);
}

void Shader::setMatrix(const char* a_name, const D3DXMATRIX& a_value)
{
    getConstantTable()->SetMatrix(m_renderer->device(), a_name, &a_value);
}

void Shader::setBool(const char* a_name, BOOL a_value)
{
    getConstantTable()->SetBool(m_renderer->device(), a_name, a_value);
}
