// Shader byte code: any bytes as DWORD tokens, through both walks of it. The
// Direct3D 9 layer's translator (the token check, then MojoShader) takes them
// as a vertex and as a pixel shader; D3DX's reader finds and reads the
// constant table, and every constant, element and member it describes is
// looked up, described and set on a recording device.
//
// Neither API carries a length: the program ends at its end token. The
// tokens are followed by enough end tokens that every walk, whatever lengths
// it skips, stops inside the buffer; what lies past the input is the
// caller's promise, not the reader's to check.
#include "ShaderTranslator.h"
#include "TokenFormat.h"
#include "platform/d3dx9/RecordingDevice.h"

#include <SDL.h>
#include <d3dx9.h>

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

namespace
{

// One comment token skips at most 0x7FFF tokens, an instruction 15.
constexpr size_t kGuardTokens = TokenFormat::kMaxCommentDwords + 1 + 1;

// Values handed to the setters: as many as any setter below asks for.
constexpr UINT kValues = 4096;

void quiet(void*, int, SDL_LogPriority, const char*) {}

void exercise(ID3DXConstantTable* a_table, IDirect3DDevice9* a_device, D3DXHANDLE a_handle,
              int a_depth)
{
    static float s_floats[kValues];
    static INT s_ints[kValues];
    D3DXCONSTANT_DESC desc = {};
    UINT count = 1;
    if (FAILED(a_table->GetConstantDesc(a_handle, &desc, &count)) || !desc.Name)
        __builtin_trap();  // a handle the table gave out
    // A top-level constant is found by its name, unless the name reads as a
    // path to an element or member.
    if (a_depth == 0 && desc.Name[strcspn(desc.Name, ".[")] == '\0' &&
        !a_table->GetConstantByName(nullptr, desc.Name))
        __builtin_trap();
    a_table->GetConstantByName(nullptr, desc.Name);

    const UINT values = desc.Bytes / 4 + 1 < kValues ? desc.Bytes / 4 + 1 : kValues;
    a_table->SetFloatArray(a_device, a_handle, s_floats, values);
    a_table->SetIntArray(a_device, a_handle, s_ints, values);
    a_table->SetMatrixArray(a_device, a_handle, reinterpret_cast<const D3DXMATRIX*>(s_floats),
                            values / 16);
    a_table->SetMatrixTranspose(a_device, a_handle, reinterpret_cast<const D3DXMATRIX*>(s_floats));
    a_table->SetVector(a_device, a_handle, reinterpret_cast<const D3DXVECTOR4*>(s_floats));
    a_table->SetFloat(a_device, a_handle, 1.0f);
    a_table->SetBool(a_device, a_handle, TRUE);
    if (a_depth >= 3)
        return;
    for (UINT i = 0; i < 4; ++i)
    {
        D3DXHANDLE element = a_table->GetConstantElement(a_handle, i);
        if (element && element != a_handle)
            exercise(a_table, a_device, element, a_depth + 1);
    }
    for (UINT i = 0; i < desc.StructMembers && i < 16; ++i)
    {
        D3DXHANDLE member = a_table->GetConstant(a_handle, i);
        if (member)
            exercise(a_table, a_device, member, a_depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_data, size_t a_size)
{
    static const bool s_quiet = (SDL_LogSetOutputFunction(quiet, nullptr), true);
    static_cast<void>(s_quiet);
    const size_t tokens = a_size / sizeof(DWORD);
    std::vector<DWORD> code(tokens + kGuardTokens, TokenFormat::kEnd);
    if (tokens > 0)
        memcpy(code.data(), a_data, tokens * sizeof(DWORD));

    TranslatedShader translated;
    for (bool vertex : {true, false})
    {
        const HRESULT result = ShaderTranslator::translate(code.data(), vertex, &translated);
        if (result != D3D_OK && result != D3DERR_INVALIDCALL)
            __builtin_trap();
    }

    ID3DXConstantTable* table = nullptr;
    const HRESULT got = D3DXGetShaderConstantTable(code.data(), &table);
    if (FAILED(got))
    {
        if (table)
            __builtin_trap();  // a failure hands out nothing
        return 0;
    }
    if (!table)
    {
        // D3DX answers D3D_OK without a table only for a stream that does
        // not start with a shader version.
        if (TokenFormat::isShaderVersion(code[0]))
            __builtin_trap();
        return 0;
    }
    D3DXCONSTANTTABLE_DESC desc = {};
    if (FAILED(table->GetDesc(&desc)) ||
        (table->GetBufferSize() != 0 && !table->GetBufferPointer()))
        __builtin_trap();
    RecordingDevice device;
    table->SetDefaults(&device);
    for (UINT i = 0; i < desc.Constants && i < 64; ++i)
    {
        D3DXHANDLE constant = table->GetConstant(nullptr, i);
        if (!constant)
            __builtin_trap();  // fewer constants than the description counts
        exercise(table, &device, constant, 0);
    }
    table->Release();
    return 0;
}
