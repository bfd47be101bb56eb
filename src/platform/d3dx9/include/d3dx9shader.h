// D3DX's shader constant tables: D3DXGetShaderConstantTable and
// ID3DXConstantTable, with the real API's names.
#pragma once

#include <d3d9.h>

#include "d3dx9math.h"
#include "d3dx9mesh.h"

// A constant is addressed by its name (with element and member paths such
// as "lights[1].colour") or by a handle a Get call returned.
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

struct D3DXCONSTANTTABLE_DESC
{
    LPCSTR Creator;
    DWORD Version;  // the shader version token
    UINT Constants;
};

struct D3DXCONSTANT_DESC
{
    LPCSTR Name;
    D3DXREGISTER_SET RegisterSet;
    UINT RegisterIndex;
    UINT RegisterCount;
    D3DXPARAMETER_CLASS Class;
    D3DXPARAMETER_TYPE Type;
    UINT Rows;
    UINT Columns;
    UINT Elements;
    UINT StructMembers;
    UINT Bytes;
    LPCVOID DefaultValue;  // inside the table; null when there is none
};

struct ID3DXConstantTable : public IUnknown
{
    // The table's bytes, as stored in the byte code after "CTAB".
    virtual LPVOID GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;

    // Descriptions and handles. A null hConstant stands for the table:
    // GetConstant then counts top-level constants, GetConstantByName looks
    // among them. Handles stay valid for the table's life.
    virtual HRESULT GetDesc(D3DXCONSTANTTABLE_DESC* pDesc) = 0;
    virtual HRESULT GetConstantDesc(D3DXHANDLE hConstant, D3DXCONSTANT_DESC* pConstantDesc,
                                    UINT* pCount) = 0;
    virtual D3DXHANDLE GetConstant(D3DXHANDLE hConstant, UINT Index) = 0;
    virtual D3DXHANDLE GetConstantByName(D3DXHANDLE hConstant, LPCSTR pName) = 0;
    virtual D3DXHANDLE GetConstantElement(D3DXHANDLE hConstant, UINT Index) = 0;

    // Setters write the constant into the device's registers of the shader's
    // kind. A constant the table lacks gives D3DERR_INVALIDCALL; a setter
    // that does not fit the constant's class (one scalar for a vector or
    // matrix, vectors for a matrix) succeeds and writes nothing, as in D3DX.
    virtual HRESULT SetDefaults(LPDIRECT3DDEVICE9 pDevice) = 0;
    // SetValue takes Bytes of data as values of the constant's own type
    // (BOOL, INT or FLOAT, 4 bytes each), laid out as the array setters lay
    // them out.
    virtual HRESULT SetValue(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, LPCVOID pData,
                             UINT Bytes) = 0;
    virtual HRESULT SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, BOOL b) = 0;
    virtual HRESULT SetBoolArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const BOOL* pb,
                                 UINT Count) = 0;
    virtual HRESULT SetInt(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, INT n) = 0;
    virtual HRESULT SetIntArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const INT* pn,
                                UINT Count) = 0;
    virtual HRESULT SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, FLOAT f) = 0;
    virtual HRESULT SetFloatArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const FLOAT* pf,
                                  UINT Count) = 0;
    virtual HRESULT SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                              const D3DXVECTOR4* pVector) = 0;
    virtual HRESULT SetVectorArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                   const D3DXVECTOR4* pVector, UINT Count) = 0;
    virtual HRESULT SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                              const D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT SetMatrixArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                   const D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT SetMatrixPointerArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                          const D3DXMATRIX** ppMatrix, UINT Count) = 0;
    virtual HRESULT SetMatrixTranspose(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                       const D3DXMATRIX* pMatrix) = 0;
    virtual HRESULT SetMatrixTransposeArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                            const D3DXMATRIX* pMatrix, UINT Count) = 0;
    virtual HRESULT SetMatrixTransposePointerArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                                   const D3DXMATRIX** ppMatrix, UINT Count) = 0;

protected:
    ~ID3DXConstantTable() = default;
};

typedef ID3DXConstantTable* LPD3DXCONSTANTTABLE;

// Reads the constant table ("CTAB" comment block) of shader byte code. Fails,
// leaving *ppConstantTable null, for byte code without a table and for
// malformed byte code or tables.
// D3DX's own failure for byte code it cannot use: no constant table, or a damaged one.
#define D3DXERR_INVALIDDATA MAKE_D3DHRESULT(2905)

HRESULT WINAPI D3DXGetShaderConstantTable(const DWORD* pFunction,
                                          LPD3DXCONSTANTTABLE* ppConstantTable);
