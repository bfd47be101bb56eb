// Reads a device's constant registers around a setter, over two backgrounds.
#include "platform/d3dx9/ConstantRegisters.h"

#include "platform/d3d9/TestDevice.h"

#include <gtest/gtest.h>

namespace
{

// Shader model 3's register counts; the pixel shader has fewer float registers.
const UINT g_vertexFloats = 256;
const UINT g_pixelFloats = 224;
const UINT g_ints = 16;
const UINT g_bools = 16;

// Every register of one shader kind, read or written at once.
struct Bank
{
    std::vector<float> floats;
    std::vector<int> ints;
    std::vector<BOOL> bools;

    explicit Bank(bool a_vertexShader)
        : floats(4 * (a_vertexShader ? g_vertexFloats : g_pixelFloats)), ints(4 * g_ints),
          bools(g_bools)
    {
    }

    void fill(float a_float, int a_int, BOOL a_bool)
    {
        floats.assign(floats.size(), a_float);
        ints.assign(ints.size(), a_int);
        bools.assign(bools.size(), a_bool);
    }

    void store(IDirect3DDevice9* a_device, bool a_vertexShader) const
    {
        const UINT floatCount = UINT(floats.size() / 4);
        if (a_vertexShader)
        {
            EXPECT_EQ(a_device->SetVertexShaderConstantF(0, floats.data(), floatCount), D3D_OK);
            EXPECT_EQ(a_device->SetVertexShaderConstantI(0, ints.data(), g_ints), D3D_OK);
            EXPECT_EQ(a_device->SetVertexShaderConstantB(0, bools.data(), g_bools), D3D_OK);
        }
        else
        {
            EXPECT_EQ(a_device->SetPixelShaderConstantF(0, floats.data(), floatCount), D3D_OK);
            EXPECT_EQ(a_device->SetPixelShaderConstantI(0, ints.data(), g_ints), D3D_OK);
            EXPECT_EQ(a_device->SetPixelShaderConstantB(0, bools.data(), g_bools), D3D_OK);
        }
    }

    void load(IDirect3DDevice9* a_device, bool a_vertexShader)
    {
        const UINT floatCount = UINT(floats.size() / 4);
        if (a_vertexShader)
        {
            EXPECT_EQ(a_device->GetVertexShaderConstantF(0, floats.data(), floatCount), D3D_OK);
            EXPECT_EQ(a_device->GetVertexShaderConstantI(0, ints.data(), g_ints), D3D_OK);
            EXPECT_EQ(a_device->GetVertexShaderConstantB(0, bools.data(), g_bools), D3D_OK);
        }
        else
        {
            EXPECT_EQ(a_device->GetPixelShaderConstantF(0, floats.data(), floatCount), D3D_OK);
            EXPECT_EQ(a_device->GetPixelShaderConstantI(0, ints.data(), g_ints), D3D_OK);
            EXPECT_EQ(a_device->GetPixelShaderConstantB(0, bools.data(), g_bools), D3D_OK);
        }
    }
};

// Registers of a_values (a_width values each) that differ from the
// background in either run; the two runs must agree on them.
template <typename T, typename Value>
void collect(const std::vector<T>& a_first, T a_firstBackground, const std::vector<T>& a_second,
             T a_secondBackground, size_t a_width, std::map<UINT, Value>& a_written,
             Value (*a_make)(const T*, size_t))
{
    for (size_t reg = 0; reg * a_width < a_first.size(); ++reg)
    {
        const T* first = &a_first[reg * a_width];
        const T* second = &a_second[reg * a_width];
        bool changed = false;
        for (size_t i = 0; i < a_width; ++i)
            changed = changed || first[i] != a_firstBackground || second[i] != a_secondBackground;
        if (!changed)
            continue;
        const Value value = a_make(first, a_width);
        EXPECT_EQ(value, a_make(second, a_width))
            << "register " << reg << " depends on what it held before";
        a_written[UINT(reg)] = value;
    }
}

template <typename T>
std::vector<T> asVector(const T* a_values, size_t a_count)
{
    return std::vector<T>(a_values, a_values + a_count);
}

BOOL asBool(const BOOL* a_value, size_t)
{
    return *a_value;
}

}  // namespace

bool ConstantRegisters::operator==(const ConstantRegisters& a_other) const
{
    return floats == a_other.floats && ints == a_other.ints && bools == a_other.bools;
}

ConstantRegisters ConstantRegisters::written(IDirect3DDevice9* a_device, bool a_vertexShader,
                                             const Setter& a_set, HRESULT* a_result)
{
    // Backgrounds no case writes by chance: the bools take both values.
    const float floatBackground[2] = {-77.25f, 1234.5f};
    const int intBackground[2] = {-99, 4242};
    const BOOL boolBackground[2] = {FALSE, TRUE};
    Bank after[2] = {Bank(a_vertexShader), Bank(a_vertexShader)};
    HRESULT results[2] = {};
    for (int run = 0; run < 2; ++run)
    {
        Bank before(a_vertexShader);
        before.fill(floatBackground[run], intBackground[run], boolBackground[run]);
        before.store(a_device, a_vertexShader);
        results[run] = a_set(a_device);
        after[run].load(a_device, a_vertexShader);
    }
    EXPECT_EQ(results[0], results[1]);
    *a_result = results[0];
    ConstantRegisters registers;
    collect(after[0].floats, floatBackground[0], after[1].floats, floatBackground[1], 4,
            registers.floats, &asVector<float>);
    collect(after[0].ints, intBackground[0], after[1].ints, intBackground[1], 4, registers.ints,
            &asVector<int>);
    collect(after[0].bools, boolBackground[0], after[1].bools, boolBackground[1], 1,
            registers.bools, &asBool);
    return registers;
}

ConstantRegisters ConstantRegisters::ofFloats(std::map<UINT, std::vector<float>> a_registers)
{
    ConstantRegisters registers;
    registers.floats = a_registers;
    return registers;
}

ConstantRegisters ConstantRegisters::ofInts(std::map<UINT, std::vector<int>> a_registers)
{
    ConstantRegisters registers;
    registers.ints = a_registers;
    return registers;
}

ConstantRegisters ConstantRegisters::ofBools(std::map<UINT, BOOL> a_registers)
{
    ConstantRegisters registers;
    registers.bools = a_registers;
    return registers;
}

void ConstantRegisters::expectCases(bool a_vertexShader, const std::vector<DWORD>& a_code,
                                    const std::vector<Case>& a_cases)
{
    LPD3DXCONSTANTTABLE table = nullptr;
    ASSERT_EQ(D3DXGetShaderConstantTable(a_code.data(), &table), D3D_OK);
    const TestDevice device(16, 16);
    for (const Case& test : a_cases)
    {
        SCOPED_TRACE(test.what);
        HRESULT result = E_FAIL;
        const ConstantRegisters registers = written(
            device.device(), a_vertexShader,
            [&](IDirect3DDevice9* a_device) { return test.set(table, a_device); }, &result);
        EXPECT_EQ(result, test.result);
        EXPECT_EQ(registers, test.expected);
    }
    table->Release();
}

void PrintTo(const ConstantRegisters& a_registers, std::ostream* a_stream)
{
    *a_stream << "{";
    for (const auto& reg : a_registers.floats)
        *a_stream << " c" << reg.first << "=(" << reg.second[0] << ", " << reg.second[1] << ", "
                  << reg.second[2] << ", " << reg.second[3] << ")";
    for (const auto& reg : a_registers.ints)
        *a_stream << " i" << reg.first << "=(" << reg.second[0] << ", " << reg.second[1] << ", "
                  << reg.second[2] << ", " << reg.second[3] << ")";
    for (const auto& reg : a_registers.bools)
        *a_stream << " b" << reg.first << "=" << reg.second;
    *a_stream << " }";
}
