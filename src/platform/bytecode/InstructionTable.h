// The instructions of vs_3_0 and ps_3_0: assembler names, opcodes, operands
// and the shader kinds each belongs to.
#pragma once

#include <stdint.h>

#include <string>

// Opcodes that the assembler, the disassembler and the layers' checks treat
// specially (D3DSIO_*).
enum Opcode : uint32_t
{
    OpLoop = 27,
    OpRet = 28,
    OpEndLoop = 29,
    OpLabel = 30,
    OpDcl = 31,
    OpRep = 38,
    OpEndRep = 39,
    OpIf = 40,
    OpIfc = 41,
    OpElse = 42,
    OpEndIf = 43,
    OpDefb = 47,
    OpDefi = 48,
    OpTexkill = 65,
    OpTexld = 66,
    OpDef = 81,
    OpTexldd = 93,
    OpTexldl = 95,
    OpBreakp = 96,  // the highest instruction of shader model 3
    OpPhase = 0xFFFD,
};

// Which shader kinds an instruction or register exists in.
enum ShaderKinds : uint32_t
{
    KindVertex = 1,
    KindPixel = 2,
    KindBoth = 3,
};

// What the bits 16-23 of an instruction token hold.
enum InstructionControls : uint32_t
{
    ControlsNone,
    ControlsComparison,  // _gt, _eq, _ge, _lt, _ne, _le: values 1 to 6
    ControlsTexld,       // texld, texldp (1), texldb (2)
};

struct InstructionInfo
{
    const char* name;  // assembler mnemonic without suffixes
    uint32_t opcode;
    uint32_t destinations;  // 0 or 1 destination parameter
    uint32_t sources;       // source parameters, the predicate not counted
    uint32_t kinds;         // ShaderKinds
    InstructionControls controls;
    uint32_t fixedControls;  // the controls value the mnemonic itself stands for
};

class InstructionTable
{
public:
    // Lookup by mnemonic ("texldp"), a_comparison picking the row that takes a
    // comparison suffix ("if_gt", "setp_lt"), or by opcode and controls; null if unknown.
    static const InstructionInfo* find(const std::string& a_name, bool a_comparison);
    static const InstructionInfo* find(uint32_t a_opcode, uint32_t a_controls);

    // Comparison suffixes: "gt" is 1 ... "le" is 6; 0 if a_name is none.
    static uint32_t comparison(const std::string& a_name);
    static const char* comparisonName(uint32_t a_value);  // null outside 1 to 6

    // The whole table, for tests that walk it.
    static const InstructionInfo* begin();
    static const InstructionInfo* end();
};
