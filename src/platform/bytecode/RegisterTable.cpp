// The register files of shader model 3 with their D3DSPR_* types and the
// counts the vs_3_0 and ps_3_0 references give.
#include "RegisterTable.h"

#include "InstructionTable.h"
#include "TokenFormat.h"

#include <strings.h>

namespace
{

// def, defi, defb and dcl write c, i, b, s, v and o registers through their own
// rules; "writable" here is for ordinary instructions.
const RegisterInfo g_registers[] = {
    {"r", RegTemp, 0, true, 32, 32, true, true},
    {"v", RegInput, 0, true, 16, 10, true, false},
    {"c", RegConst, 0, true, 256, 224, true, false},
    {"a", RegAddress, 0, true, 1, 0, true, true},
    {"o", RegOutput, 0, true, 12, 0, false, true},
    {"i", RegConstInt, 0, true, 16, 16, true, false},
    {"oC", RegColorOut, 0, true, 0, 4, false, true},
    {"oDepth", RegDepthOut, 0, false, 0, 1, false, true},
    {"s", RegSampler, 0, true, 4, 16, true, false},
    {"b", RegConstBool, 0, true, 16, 16, true, false},
    {"aL", RegLoop, 0, false, 1, 1, true, false},
    {"vPos", RegMisc, 0, false, 0, 1, true, false},
    {"vFace", RegMisc, 1, false, 0, 1, true, false},
    {"l", RegLabel, 0, true, 2048, 2048, true, false},
    {"p", RegPredicate, 0, true, 1, 1, true, true},
};

}

const RegisterInfo* RegisterTable::find(const std::string& a_name)
{
    for (const RegisterInfo& info : g_registers)
    {
        if (strcasecmp(a_name.c_str(), info.name) == 0)
            return &info;
    }
    return nullptr;
}

const RegisterInfo* RegisterTable::find(uint32_t a_type, uint32_t a_number)
{
    for (const RegisterInfo& info : g_registers)
    {
        if (info.type == a_type && (info.numbered || info.fixedNumber == a_number))
            return &info;
    }
    return nullptr;
}

uint32_t RegisterTable::count(const RegisterInfo& a_info, uint32_t a_kind)
{
    return a_kind == KindVertex ? a_info.vertexCount : a_info.pixelCount;
}

const RegisterInfo* RegisterTable::begin()
{
    return g_registers;
}

const RegisterInfo* RegisterTable::end()
{
    return g_registers + sizeof(g_registers) / sizeof(g_registers[0]);
}
