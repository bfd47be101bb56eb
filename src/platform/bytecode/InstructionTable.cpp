// The instructions of vs_3_0 and ps_3_0 with their D3DSIO_* opcodes and the
// operands the assembly reference gives for shader model 3.
#include "InstructionTable.h"

namespace
{

// One row per mnemonic; texld appears three times because texldp and texldb are
// texld with a control value. def, defi, defb and dcl have operands of their own
// kind: their counts here are the parameter tokens before the values.
const InstructionInfo g_instructions[] = {
    {"nop", 0, 0, 0, KindBoth, ControlsNone, 0},
    {"mov", 1, 1, 1, KindBoth, ControlsNone, 0},
    {"add", 2, 1, 2, KindBoth, ControlsNone, 0},
    {"sub", 3, 1, 2, KindBoth, ControlsNone, 0},
    {"mad", 4, 1, 3, KindBoth, ControlsNone, 0},
    {"mul", 5, 1, 2, KindBoth, ControlsNone, 0},
    {"rcp", 6, 1, 1, KindBoth, ControlsNone, 0},
    {"rsq", 7, 1, 1, KindBoth, ControlsNone, 0},
    {"dp3", 8, 1, 2, KindBoth, ControlsNone, 0},
    {"dp4", 9, 1, 2, KindBoth, ControlsNone, 0},
    {"min", 10, 1, 2, KindBoth, ControlsNone, 0},
    {"max", 11, 1, 2, KindBoth, ControlsNone, 0},
    {"slt", 12, 1, 2, KindVertex, ControlsNone, 0},
    {"sge", 13, 1, 2, KindVertex, ControlsNone, 0},
    {"exp", 14, 1, 1, KindBoth, ControlsNone, 0},
    {"log", 15, 1, 1, KindBoth, ControlsNone, 0},
    {"lit", 16, 1, 1, KindVertex, ControlsNone, 0},
    {"dst", 17, 1, 2, KindVertex, ControlsNone, 0},
    {"lrp", 18, 1, 3, KindBoth, ControlsNone, 0},
    {"frc", 19, 1, 1, KindBoth, ControlsNone, 0},
    {"m4x4", 20, 1, 2, KindBoth, ControlsNone, 0},
    {"m4x3", 21, 1, 2, KindBoth, ControlsNone, 0},
    {"m3x4", 22, 1, 2, KindBoth, ControlsNone, 0},
    {"m3x3", 23, 1, 2, KindBoth, ControlsNone, 0},
    {"m3x2", 24, 1, 2, KindBoth, ControlsNone, 0},
    {"call", 25, 0, 1, KindBoth, ControlsNone, 0},
    {"callnz", 26, 0, 2, KindBoth, ControlsNone, 0},
    {"loop", OpLoop, 0, 2, KindBoth, ControlsNone, 0},
    {"ret", OpRet, 0, 0, KindBoth, ControlsNone, 0},
    {"endloop", OpEndLoop, 0, 0, KindBoth, ControlsNone, 0},
    {"label", OpLabel, 0, 1, KindBoth, ControlsNone, 0},
    {"dcl", OpDcl, 1, 0, KindBoth, ControlsNone, 0},
    {"pow", 32, 1, 2, KindBoth, ControlsNone, 0},
    {"crs", 33, 1, 2, KindBoth, ControlsNone, 0},
    {"sgn", 34, 1, 3, KindVertex, ControlsNone, 0},
    {"abs", 35, 1, 1, KindBoth, ControlsNone, 0},
    {"nrm", 36, 1, 1, KindBoth, ControlsNone, 0},
    {"sincos", 37, 1, 1, KindBoth, ControlsNone, 0},
    {"rep", OpRep, 0, 1, KindBoth, ControlsNone, 0},
    {"endrep", OpEndRep, 0, 0, KindBoth, ControlsNone, 0},
    {"if", OpIf, 0, 1, KindBoth, ControlsNone, 0},
    {"if", OpIfc, 0, 2, KindBoth, ControlsComparison, 0},
    {"else", OpElse, 0, 0, KindBoth, ControlsNone, 0},
    {"endif", OpEndIf, 0, 0, KindBoth, ControlsNone, 0},
    {"break", 44, 0, 0, KindBoth, ControlsNone, 0},
    {"break", 45, 0, 2, KindBoth, ControlsComparison, 0},
    {"mova", 46, 1, 1, KindVertex, ControlsNone, 0},
    {"defb", OpDefb, 1, 0, KindBoth, ControlsNone, 0},
    {"defi", OpDefi, 1, 0, KindBoth, ControlsNone, 0},
    {"texkill", OpTexkill, 1, 0, KindPixel, ControlsNone, 0},
    {"texld", OpTexld, 1, 2, KindPixel, ControlsTexld, 0},
    {"texldp", OpTexld, 1, 2, KindPixel, ControlsTexld, 1},
    {"texldb", OpTexld, 1, 2, KindPixel, ControlsTexld, 2},
    {"expp", 78, 1, 1, KindVertex, ControlsNone, 0},
    {"logp", 79, 1, 1, KindVertex, ControlsNone, 0},
    {"def", OpDef, 1, 0, KindBoth, ControlsNone, 0},
    {"cmp", 88, 1, 3, KindPixel, ControlsNone, 0},
    {"dp2add", 90, 1, 3, KindPixel, ControlsNone, 0},
    {"dsx", 91, 1, 1, KindPixel, ControlsNone, 0},
    {"dsy", 92, 1, 1, KindPixel, ControlsNone, 0},
    {"texldd", OpTexldd, 1, 4, KindPixel, ControlsNone, 0},
    {"setp", 94, 1, 2, KindBoth, ControlsComparison, 0},
    {"texldl", OpTexldl, 1, 2, KindBoth, ControlsNone, 0},
    {"breakp", OpBreakp, 0, 1, KindBoth, ControlsNone, 0},
};

const char* const g_comparisons[] = {nullptr, "gt", "eq", "ge", "lt", "ne", "le"};

}

const InstructionInfo* InstructionTable::find(const std::string& a_name, bool a_comparison)
{
    for (const InstructionInfo& info : g_instructions)
    {
        if (a_name == info.name && (info.controls == ControlsComparison) == a_comparison)
            return &info;
    }
    return nullptr;
}

const InstructionInfo* InstructionTable::find(uint32_t a_opcode, uint32_t a_controls)
{
    for (const InstructionInfo& info : g_instructions)
    {
        if (info.opcode != a_opcode)
            continue;
        if (info.controls == ControlsComparison && comparisonName(a_controls))
            return &info;
        if (info.controls != ControlsComparison && info.fixedControls == a_controls)
            return &info;
    }
    return nullptr;
}

uint32_t InstructionTable::comparison(const std::string& a_name)
{
    for (uint32_t value = 1; value < 7; ++value)
    {
        if (a_name == g_comparisons[value])
            return value;
    }
    return 0;
}

const char* InstructionTable::comparisonName(uint32_t a_value)
{
    return a_value >= 1 && a_value < 7 ? g_comparisons[a_value] : nullptr;
}

const InstructionInfo* InstructionTable::begin()
{
    return g_instructions;
}

const InstructionInfo* InstructionTable::end()
{
    return g_instructions + sizeof(g_instructions) / sizeof(g_instructions[0]);
}
