// Byte code in, GLSL out: checks a D3D9 token stream and translates it with
// MojoShader (GLSL 1.20 profile). Everything MojoShader reports becomes one
// failing result and one log line here.
#pragma once

#include "TranslatedShader.h"

#include <d3d9.h>

class ShaderTranslator
{
public:
    // D3DERR_INVALIDCALL for a null stream, a stream of the other kind, a
    // version below 2.0, damaged tokens or anything MojoShader refuses.
    static HRESULT translate(const DWORD* a_tokens, bool a_vertex, TranslatedShader* a_result);

    // The stream's length in tokens up to and with its end token, walked
    // instruction by instruction; 0 when the stream is damaged, or an
    // instruction that opens or closes a block names operands D3D9 refuses
    // there, or a texture load names no sampler (MojoShader's GLSL writer
    // asserts on those). The walk stops at the first damaged token, so it
    // never reads past one, but D3D9's interface gives no buffer size: a
    // stream cut short inside an instruction or comment is read on to its
    // stated length.
    static size_t measure(const DWORD* a_tokens);

    // Whether the a_count tokens of a measured stream nest as D3D9 requires:
    // if, loop and rep blocks close in order with their own end, else sits
    // in an if block, ret ends the main program or a subroutine outside any
    // block, and label starts a subroutine only after one ended; each of
    // these instructions has as many operand tokens as it takes.
    static bool blocksNest(const DWORD* a_tokens, size_t a_count);
};
