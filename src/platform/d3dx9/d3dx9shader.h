// D3DX's shader constant tables: D3DXGetShaderConstantTable and the
// ID3DXConstantTable setters the system uses, with the real API's names.
#pragma once

#include <d3d9.h>

#include "d3dx9math.h"

// A constant is addressed by its name.
typedef LPCSTR D3DXHANDLE;

enum D3DXREGISTER_SET
{
    D3DXRS_BOOL,
    D3DXRS_INT4,
    D3DXRS_FLOAT4,
    D3DXRS_SAMPLER,
    D3DXRS_FORCE_DWORD = 0x7fffffff
};

enum D3DXPARAMETER_CLASS
{
    D3DXPC_SCALAR,
    D3DXPC_VECTOR,
    D3DXPC_MATRIX_ROWS,
    D3DXPC_MATRIX_COLUMNS,
    D3DXPC_OBJECT,
    D3DXPC_STRUCT,
    D3DXPC_FORCE_DWORD = 0x7fffffff
};

enum D3DXPARAMETER_TYPE
{
    D3DXPT_VOID,
    D3DXPT_BOOL,
    D3DXPT_INT,
    D3DXPT_FLOAT,
    D3DXPT_STRING,
    D3DXPT_TEXTURE,
    D3DXPT_TEXTURE1D,
    D3DXPT_TEXTURE2D,
    D3DXPT_TEXTURE3D,
    D3DXPT_TEXTURECUBE,
    D3DXPT_SAMPLER,
    D3DXPT_SAMPLER1D,
    D3DXPT_SAMPLER2D,
    D3DXPT_SAMPLER3D,
    D3DXPT_SAMPLERCUBE,
    D3DXPT_PIXELSHADER,
    D3DXPT_VERTEXSHADER,
    D3DXPT_PIXELFRAGMENT,
    D3DXPT_VERTEXFRAGMENT,
    D3DXPT_UNSUPPORTED,
    D3DXPT_FORCE_DWORD = 0x7fffffff
};

struct ID3DXConstantTable : public IUnknown
{
    // Each setter writes the named constant into the device's registers of the
    // shader's kind; a name the table lacks gives D3DERR_INVALIDCALL and writes nothing.
    virtual HRESULT SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, BOOL b) = 0;
    virtual HRESULT SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, FLOAT f) = 0;
    virtual HRESULT SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                              const D3DXVECTOR4* pVector) = 0;
    virtual HRESULT SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                              const D3DXMATRIX* pMatrix) = 0;

protected:
    ~ID3DXConstantTable() = default;
};

typedef ID3DXConstantTable* LPD3DXCONSTANTTABLE;

// Reads the constant table ("CTAB" comment block) of shader byte code. Fails,
// leaving *ppConstantTable null, for byte code without a table and for
// malformed byte code or tables.
HRESULT WINAPI D3DXGetShaderConstantTable(const DWORD* pFunction,
                                          LPD3DXCONSTANTTABLE* ppConstantTable);
