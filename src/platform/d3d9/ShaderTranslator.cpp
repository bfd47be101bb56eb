// Byte code in, GLSL out: checks a D3D9 token stream and translates it with
// MojoShader.
#include "ShaderTranslator.h"

#include "PixelCentre.h"
#include "InstructionTable.h"
#include "ShaderTokens.h"
#include "TokenFormat.h"

#include <SDL.h>
#include <mojoshader.h>

#include <math.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace
{

// Far more than the 32768-instruction slots shader model 3 allows: a walk
// this long has left the shader.
const size_t g_maxTokens = 1u << 20;

// Parameter tokens always have bit 31 set; instruction, comment and end
// tokens never do. def, defi and defb carry raw literals after their
// destination, and dcl a usage token whose bit 31 is set as well.
bool operandsValid(const DWORD* a_operands, DWORD a_opcode, DWORD a_count)
{
    DWORD checked = a_count;
    if (a_opcode == OpDef || a_opcode == OpDefi || a_opcode == OpDefb)
        checked = a_count > 0 ? 1 : 0;
    for (DWORD i = 0; i < checked; ++i)
        if ((a_operands[i] & 0x80000000u) == 0)
            return false;
    return true;
}

void collect(const MOJOSHADER_uniform* a_uniforms, int a_count, MOJOSHADER_uniformType a_type,
             std::vector<TranslatedShader::RegisterRange>* a_ranges)
{
    for (int i = 0; i < a_count; ++i)
    {
        const MOJOSHADER_uniform& uniform = a_uniforms[i];
        if (uniform.type != a_type || uniform.constant)
            continue;
        const unsigned count = uniform.array_count > 0 ? unsigned(uniform.array_count) : 1u;
        a_ranges->push_back({unsigned(uniform.index), count});
    }
}

// The tokens the first a_count operands of an instruction take: one each,
// or two when addressed relatively (bit 13); past its length if it holds
// fewer operands.
DWORD operandTokens(const ShaderTokens::Instruction& a_instruction, DWORD a_count)
{
    DWORD at = 0;
    for (DWORD i = 0; i < a_count; ++i)
    {
        if (at >= a_instruction.length)
            return a_instruction.length + 1;
        at += (a_instruction.operands[at] & (1u << 13)) != 0 ? 2 : 1;
    }
    return at;
}

// The parameter token of operand a_index, or nullptr past the instruction.
const DWORD* operand(const ShaderTokens::Instruction& a_instruction, DWORD a_index)
{
    const DWORD at = operandTokens(a_instruction, a_index);
    return at < a_instruction.length ? a_instruction.operands + at : nullptr;
}

// MojoShader reads as many operands as an instruction takes, whatever its
// length field says. For the instructions that open, close or end blocks
// the two must agree, or MojoShader would take the next instruction for an
// operand and lose its place in the nesting.
bool lengthAgrees(const ShaderTokens::Instruction& a_instruction)
{
    DWORD operands = 0;
    switch (a_instruction.opcode())
    {
    case OpLabel:
    case OpIf:
    case OpRep:
        operands = 1;
        break;
    case OpIfc:
    case OpLoop:
        operands = 2;
        break;
    case OpElse:
    case OpEndIf:
    case OpEndLoop:
    case OpEndRep:
    case OpRet:
        break;
    default:
        return true;
    }
    return operandTokens(a_instruction, operands) == a_instruction.length;
}

// The same component in all four places: .xxxx, .yyyy, ...
bool replicates(DWORD a_token)
{
    const DWORD swizzle = (a_token >> 16) & 0xFF;
    return swizzle == (swizzle & 3) * 0x55;
}

// The operands D3D9 requires of the instructions that open or close
// MojoShader's GLSL blocks: MojoShader skips an instruction it refuses but
// goes on, so a refused if, loop or label leaves its indentation off, and
// the next label ends the process in an assertion. Its writer also asserts
// on a loop counter other than aL (register 0 of its kind) and on a texture
// load whose sampler operand is no sampler register.
bool registersFit(const ShaderTokens::Instruction& a_instruction)
{
    const DWORD* first = operand(a_instruction, 0);
    switch (a_instruction.opcode())
    {
    case OpIf:
        return first && (TokenFormat::registerType(*first) == RegConstBool ||
                         TokenFormat::registerType(*first) == RegPredicate);
    case OpIfc:
    {
        const DWORD* second = operand(a_instruction, 1);
        const DWORD comparison = (a_instruction.token >> 16) & 0xFF;
        return first && second && replicates(*first) && replicates(*second) && comparison >= 1 &&
               comparison <= 6;
    }
    case OpLoop:
    {
        const DWORD* count = operand(a_instruction, 1);
        return first && count && TokenFormat::registerType(*first) == RegLoop &&
               (*first & 0x7FF) == 0 && TokenFormat::registerType(*count) == RegConstInt;
    }
    case OpRep:
        return first && TokenFormat::registerType(*first) == RegConstInt;
    case OpLabel:
        return first && TokenFormat::registerType(*first) == RegLabel && (*first & 0x7FF) <= 15;
    case OpTexld:
    case OpTexldl:
    case OpTexldd:
    {
        const DWORD* sampler = operand(a_instruction, 2);  // after the destination and coordinate
        return sampler && TokenFormat::registerType(*sampler) == RegSampler;
    }
    default:
        return true;
    }
}

// MojoShader writes a def's values as decimals of a few places, which for
// small values is not the float the byte code holds (1/256 comes out as
// 0.003906249): a texture coordinate built from such a constant misses the
// texel centre it was made for. Each def line is written again with nine
// significant digits, which read back as the very float. Values that are no
// finite number stay as MojoShader wrote them.
void writeExactConstants(const MOJOSHADER_parseData* a_parsed, const std::string& a_prefix,
                         std::string* a_glsl)
{
    for (int i = 0; i < a_parsed->constant_count; ++i)
    {
        const MOJOSHADER_constant& constant = a_parsed->constants[i];
        if (constant.type != MOJOSHADER_UNIFORM_FLOAT)
            continue;
        const std::string head =
            "const vec4 " + a_prefix + "_c" + std::to_string(constant.index) + " = vec4(";
        const size_t at = a_glsl->find(head);
        const size_t end = at == std::string::npos ? at : a_glsl->find(");", at);
        if (end == std::string::npos)
            continue;
        char values[4 * 24];
        const float* f = constant.value.f;
        if (!isfinite(f[0]) || !isfinite(f[1]) || !isfinite(f[2]) || !isfinite(f[3]))
            continue;
        snprintf(values, sizeof(values), "%.9g, %.9g, %.9g, %.9g", double(f[0]), double(f[1]),
                 double(f[2]), double(f[3]));
        a_glsl->replace(at + head.size(), end - at - head.size(), values);
    }
}

}  // namespace

size_t ShaderTranslator::measure(const DWORD* a_tokens)
{
    ShaderTokens walk(a_tokens, g_maxTokens);
    ShaderTokens::Instruction instruction;
    while (walk.next(&instruction))
    {
        if (instruction.comment)
            continue;
        const DWORD opcode = instruction.opcode();
        if ((opcode > OpBreakp && opcode != OpPhase) ||
            !operandsValid(instruction.operands, opcode, instruction.length) ||
            !registersFit(instruction))
            return 0;
    }
    return walk.ended() ? walk.position() : 0;
}

// MojoShader writes GLSL blocks by indentation and asserts, ending the
// process, when a label meets an indentation other than the outermost: a
// label inside a block, or after an end without its block. D3D9 refuses such
// streams anyway, so they are refused here before MojoShader sees them.
bool ShaderTranslator::blocksNest(const DWORD* a_tokens, size_t a_count)
{
    std::vector<DWORD> open;  // the opcode that opened each enclosing block
    bool inFunction = true;   // the main program runs until its ret
    ShaderTokens walk(a_tokens, a_count);
    ShaderTokens::Instruction instruction;
    while (walk.next(&instruction))
    {
        if (instruction.comment)
            continue;
        const DWORD opcode = instruction.opcode();
        if (!lengthAgrees(instruction))
            return false;
        const DWORD inner = open.empty() ? 0 : open.back();
        switch (opcode)
        {
        case OpIf:
        case OpIfc:
            open.push_back(OpIf);
            break;
        case OpLoop:
        case OpRep:
            open.push_back(opcode);
            break;
        case OpElse:
            if (inner != OpIf)
                return false;
            break;
        case OpEndIf:
        case OpEndLoop:
        case OpEndRep:
            if (inner != (opcode == OpEndIf ? OpIf : opcode == OpEndLoop ? OpLoop : OpRep))
                return false;
            open.pop_back();
            break;
        case OpRet:
            if (!open.empty() || !inFunction)
                return false;
            inFunction = false;
            break;
        case OpLabel:
            if (!open.empty() || inFunction)
                return false;
            inFunction = true;
            break;
        default:
            break;
        }
    }
    return walk.ended() && open.empty();
}

HRESULT ShaderTranslator::translate(const DWORD* a_tokens, bool a_vertex,
                                    TranslatedShader* a_result)
{
    const char* kind = a_vertex ? "vertex" : "pixel";
    if (!a_tokens)
        return D3DERR_INVALIDCALL;
    const DWORD version = a_tokens[0];
    if (TokenFormat::versionKind(version) !=
        (a_vertex ? TokenFormat::kVertexKind : TokenFormat::kPixelKind))
    {
        SDL_Log("d3d9: %s shader refused: version token 0x%08x is not a %s shader's", kind, version,
                kind);
        return D3DERR_INVALIDCALL;
    }
    const unsigned major = D3DSHADER_VERSION_MAJOR(version),
                   minor = D3DSHADER_VERSION_MINOR(version);
    // Shader model 1 encodes no instruction lengths, so its streams cannot
    // be walked safely; the system uses shader model 3.
    if (major < 2)
    {
        SDL_Log("d3d9: %s shader refused: version %u.%u is below 2.0", kind, major, minor);
        return D3DERR_INVALIDCALL;
    }
    // Direct3D 9 knows no shader model above 3, and no minor versions but 0,
    // 2.1 (2_x) and 255 (software vertex processing); MojoShader reads some
    // other streams by rules of its own and asserts in its GLSL writer (a
    // subroutine of a 3.32 or 255.253 stream).
    if (major > 3 || (minor != 0 && minor != 255 && !(major == 2 && minor == 1)))
    {
        SDL_Log("d3d9: %s shader refused: version %u.%u is none of D3D9's", kind, major, minor);
        return D3DERR_INVALIDCALL;
    }
    const size_t tokens = measure(a_tokens);
    if (tokens == 0)
    {
        SDL_Log("d3d9: %s shader refused: damaged token stream or invalid operand", kind);
        return D3DERR_INVALIDCALL;
    }
    if (!blocksNest(a_tokens, tokens))
    {
        SDL_Log("d3d9: %s shader refused: flow-control blocks or subroutines do not nest", kind);
        return D3DERR_INVALIDCALL;
    }

    const MOJOSHADER_parseData* parsed = MOJOSHADER_parse(
        MOJOSHADER_PROFILE_GLSL120, "main", reinterpret_cast<const unsigned char*>(a_tokens),
        static_cast<unsigned>(tokens * sizeof(DWORD)), nullptr, 0, nullptr, 0, nullptr, nullptr,
        nullptr);
    HRESULT result = D3D_OK;
    if (parsed->error_count > 0)
    {
        const MOJOSHADER_error& error = parsed->errors[0];
        SDL_Log("d3d9: %s shader refused by MojoShader: %s (byte %d; %d errors)", kind,
                error.error ? error.error : "unknown error", error.error_position,
                parsed->error_count);
        result = D3DERR_INVALIDCALL;
    }
    else
    {
        *a_result = TranslatedShader();
        a_result->vertex = a_vertex;
        a_result->majorVersion = major;
        for (int i = 0; !a_vertex && i < parsed->output_count; ++i)
            if (parsed->outputs[i].usage == MOJOSHADER_USAGE_COLOR &&
                parsed->outputs[i].index >= 0 && parsed->outputs[i].index < 4)
                a_result->colourOutputs |= 1u << parsed->outputs[i].index;
        a_result->prefix = a_vertex ? "vs" : "ps";
        a_result->glsl.assign(parsed->output, size_t(parsed->output_len));
        writeExactConstants(parsed, a_result->prefix, &a_result->glsl);
        collect(parsed->uniforms, parsed->uniform_count, MOJOSHADER_UNIFORM_FLOAT,
                &a_result->floats);
        collect(parsed->uniforms, parsed->uniform_count, MOJOSHADER_UNIFORM_INT, &a_result->ints);
        collect(parsed->uniforms, parsed->uniform_count, MOJOSHADER_UNIFORM_BOOL, &a_result->bools);
        for (int i = 0; a_vertex && i < parsed->attribute_count; ++i)
            a_result->inputs.push_back({int(parsed->attributes[i].usage),
                                        parsed->attributes[i].index, parsed->attributes[i].name});
        for (int i = 0; i < parsed->sampler_count; ++i)
            a_result->samplers.push_back(
                {unsigned(parsed->samplers[i].index), parsed->samplers[i].name});
        if (!a_vertex)
            PixelCentre::fixFragmentPosition(&a_result->glsl);
        if (a_vertex && !PixelCentre::wrapVertexMain(&a_result->glsl))
        {
            SDL_Log("d3d9: vertex shader refused: MojoShader's GLSL has no main function");
            result = D3DERR_INVALIDCALL;
        }
    }
    MOJOSHADER_freeParseData(parsed);
    return result;
}
