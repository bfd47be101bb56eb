// The token layout of Direct3D 9 shader byte code, as the driver documentation
// of the shader codes gives it.
#include "TokenFormat.h"

#include "core/Assert.h"

// Register types take five bits, split over the token: bits 0-2 of the type go
// to bits 28-30, bits 3-4 to bits 11-12.
static uint32_t registerTypeBits(uint32_t a_type)
{
    return ((a_type & 0x7) << 28) | ((a_type & 0x18) << 8);
}

uint32_t TokenFormat::instruction(uint32_t a_opcode, uint32_t a_controls, uint32_t a_length,
                                  bool a_predicated)
{
    TARVO_ASSERT(a_opcode <= 0xFFFF && a_controls <= 0xFF && a_length <= kMaxInstructionLength);
    return a_opcode | (a_controls << 16) | (a_length << 24) | (a_predicated ? 1u << 28 : 0u);
}

uint32_t TokenFormat::destination(uint32_t a_type, uint32_t a_number, uint32_t a_mask,
                                  uint32_t a_resultModifiers, bool a_relative)
{
    TARVO_ASSERT(a_type <= 0x1F && a_number <= kMaxRegisterNumber && a_mask <= 0xF &&
                 a_resultModifiers <= 0xF);
    return 0x80000000 | registerTypeBits(a_type) | a_number | (a_relative ? 1u << 13 : 0u) |
           (a_mask << 16) | (a_resultModifiers << 20);
}

uint32_t TokenFormat::source(uint32_t a_type, uint32_t a_number, uint32_t a_swizzle,
                             uint32_t a_modifier, bool a_relative)
{
    TARVO_ASSERT(a_type <= 0x1F && a_number <= kMaxRegisterNumber && a_swizzle <= 0xFF &&
                 a_modifier <= 0xF);
    return 0x80000000 | registerTypeBits(a_type) | a_number | (a_relative ? 1u << 13 : 0u) |
           (a_swizzle << 16) | (a_modifier << 24);
}

uint32_t TokenFormat::comment(uint32_t a_dwords)
{
    TARVO_ASSERT(a_dwords <= kMaxCommentDwords);
    return kCommentOpcode | (a_dwords << 16);
}

uint32_t TokenFormat::usageDeclaration(uint32_t a_usage, uint32_t a_index)
{
    TARVO_ASSERT(a_usage <= 0x1F && a_index <= 0xF);
    return 0x80000000 | a_usage | (a_index << 16);
}

uint32_t TokenFormat::samplerDeclaration(uint32_t a_textureType)
{
    TARVO_ASSERT(a_textureType <= 0xF);
    return 0x80000000 | (a_textureType << 27);
}
