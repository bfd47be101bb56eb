// What a constant table's setter leaves in a real device's constant
// registers: the registers it wrote and their values. Every register of the
// shader kind is filled with a background, the setter runs, every register
// is read back; this is done over two backgrounds, so that a value written
// that equals one background still shows as written.
#pragma once

#include <d3d9.h>
#include <d3dx9.h>

#include <functional>
#include <map>
#include <ostream>
#include <vector>

struct ConstantRegisters
{
    std::map<UINT, std::vector<float>> floats;  // 4 values per register
    std::map<UINT, std::vector<int>> ints;      // 4 values per register
    std::map<UINT, BOOL> bools;

    bool operator==(const ConstantRegisters& a_other) const;

    using Setter = std::function<HRESULT(IDirect3DDevice9*)>;

    // The registers a_set writes among the vertex shader's (or the pixel
    // shader's) float, int and bool registers of a_device; the setter's
    // result goes to a_result. The test fails if the two runs disagree.
    static ConstantRegisters written(IDirect3DDevice9* a_device, bool a_vertexShader,
                                     const Setter& a_set, HRESULT* a_result);

    // Expected registers of one set.
    static ConstantRegisters ofFloats(std::map<UINT, std::vector<float>> a_registers);
    static ConstantRegisters ofInts(std::map<UINT, std::vector<int>> a_registers);
    static ConstantRegisters ofBools(std::map<UINT, BOOL> a_registers);

    // A setter of a table and exactly the registers it must write.
    struct Case;

    // Runs each case on the table of a_code (a vertex or pixel shader's) on a
    // device of its own.
    static void expectCases(bool a_vertexShader, const std::vector<DWORD>& a_code,
                            const std::vector<Case>& a_cases);
};

struct ConstantRegisters::Case
{
    const char* what;
    std::function<HRESULT(ID3DXConstantTable*, IDirect3DDevice9*)> set;
    ConstantRegisters expected;
    HRESULT result = D3D_OK;
};

// Prints the registers in failure messages.
void PrintTo(const ConstantRegisters& a_registers, std::ostream* a_stream);
