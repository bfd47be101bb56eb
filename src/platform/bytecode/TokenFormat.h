// The token layout of Direct3D 9 shader byte code: building and taking apart
// version, instruction, parameter, declaration and comment tokens. The one
// description of the layout for the layers, the shader tools and the fuzzers.
#pragma once

#include <stdint.h>

// Register types (D3DSHADER_PARAM_REGISTER_TYPE).
enum RegisterType : uint32_t
{
    RegTemp = 0,
    RegInput = 1,
    RegConst = 2,
    RegAddress = 3,
    RegOutput = 6,
    RegConstInt = 7,
    RegColorOut = 8,
    RegDepthOut = 9,
    RegSampler = 10,
    RegConstBool = 14,
    RegLoop = 15,
    RegMisc = 17,
    RegLabel = 18,
    RegPredicate = 19,
};

// Source modifiers (D3DSHADER_PARAM_SRCMOD_TYPE) that shader model 3 allows.
enum SourceModifier : uint32_t
{
    SrcNone = 0,
    SrcNegate = 1,
    SrcAbs = 11,
    SrcAbsNegate = 12,
    SrcNot = 13,
};

// Result modifier bits of a destination token (D3DSPDM_*).
enum ResultModifier : uint32_t
{
    ResultSaturate = 1,
    ResultPartialPrecision = 2,
    ResultCentroid = 4,
};

class TokenFormat
{
public:
    // The version token: the kind in the high 16 bits, then major and minor.
    static constexpr uint32_t kVertexKind = 0xFFFE;
    static constexpr uint32_t kPixelKind = 0xFFFF;
    static constexpr uint32_t kVertexVersion30 = 0xFFFE0300;
    static constexpr uint32_t kPixelVersion30 = 0xFFFF0300;
    static constexpr uint32_t kEnd = 0x0000FFFF;
    static constexpr uint32_t kCommentOpcode = 0xFFFE;
    static constexpr uint32_t kMaxCommentDwords = 0x7FFF;
    static constexpr uint32_t kMaxInstructionLength = 15;
    static constexpr uint32_t kMaxRegisterNumber = 0x7FF;
    static constexpr uint32_t kIdentitySwizzle = 0xE4;
    static constexpr uint32_t kFullMask = 0xF;

    // Building tokens; each value must fit its field (asserted).
    static uint32_t instruction(uint32_t a_opcode, uint32_t a_controls, uint32_t a_length,
                                bool a_predicated);
    static uint32_t destination(uint32_t a_type, uint32_t a_number, uint32_t a_mask,
                                uint32_t a_resultModifiers, bool a_relative);
    static uint32_t source(uint32_t a_type, uint32_t a_number, uint32_t a_swizzle,
                           uint32_t a_modifier, bool a_relative);
    static uint32_t comment(uint32_t a_dwords);

    // Version token fields.
    static uint32_t versionKind(uint32_t a_token) { return a_token >> 16; }
    static uint32_t versionMajor(uint32_t a_token) { return (a_token >> 8) & 0xFF; }
    static uint32_t versionMinor(uint32_t a_token) { return a_token & 0xFF; }
    static bool isShaderVersion(uint32_t a_token)
    {
        return versionKind(a_token) == kVertexKind || versionKind(a_token) == kPixelKind;
    }

    // Instruction token fields.
    static uint32_t opcode(uint32_t a_token) { return a_token & 0xFFFF; }
    static uint32_t controls(uint32_t a_token) { return (a_token >> 16) & 0xFF; }
    static uint32_t length(uint32_t a_token) { return (a_token >> 24) & 0xF; }
    static bool predicated(uint32_t a_token) { return (a_token >> 28) & 1; }
    static uint32_t commentDwords(uint32_t a_token) { return (a_token >> 16) & 0x7FFF; }

    // Parameter token fields, destination and source alike.
    static uint32_t registerType(uint32_t a_token)
    {
        return ((a_token >> 28) & 0x7) | ((a_token >> 8) & 0x18);
    }
    static uint32_t registerNumber(uint32_t a_token) { return a_token & 0x7FF; }
    static bool relative(uint32_t a_token) { return (a_token >> 13) & 1; }
    static uint32_t writeMask(uint32_t a_token) { return (a_token >> 16) & 0xF; }
    static uint32_t resultModifiers(uint32_t a_token) { return (a_token >> 20) & 0xF; }
    static uint32_t shiftScale(uint32_t a_token) { return (a_token >> 24) & 0xF; }
    static uint32_t swizzle(uint32_t a_token) { return (a_token >> 16) & 0xFF; }
    static uint32_t sourceModifier(uint32_t a_token) { return (a_token >> 24) & 0xF; }
    // Bits that no parameter token of shader model 3 may set: 14-15 reserved, 31 always set.
    static bool parameterReservedBitsValid(uint32_t a_token)
    {
        return (a_token & 0x0000C000) == 0 && (a_token & 0x80000000) != 0;
    }

    // Declaration token of dcl (the token between the instruction and its register).
    static uint32_t usageDeclaration(uint32_t a_usage, uint32_t a_index);
    static uint32_t samplerDeclaration(uint32_t a_textureType);
    static uint32_t declarationUsage(uint32_t a_token) { return a_token & 0x1F; }
    static uint32_t declarationUsageIndex(uint32_t a_token) { return (a_token >> 16) & 0xF; }
    static uint32_t declarationTextureType(uint32_t a_token) { return (a_token >> 27) & 0xF; }
};
