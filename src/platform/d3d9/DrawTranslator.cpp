// The recorded state carried to GL at draw and clear time.
#include "DrawTranslator.h"

#include "GlEnums.h"
#include "IndexBuffer9.h"
#include "PixelCentre.h"
#include "Surface9.h"
#include "TextureStorage.h"
#include "TranslatedShader.h"
#include "VertexBuffer9.h"

#include <SDL.h>

#include <algorithm>

namespace
{

void attach(GLuint a_framebuffer, GLenum a_attachment, const Surface9* a_surface)
{
    if (a_surface)
        a_surface->attachTo(a_framebuffer, a_attachment);
    else
        glNamedFramebufferTexture(a_framebuffer, a_attachment, 0, 0);
}

}  // namespace

void DrawTranslator::createGl()
{
    m_gl.invalidate();
    glCreateFramebuffers(1, &m_framebuffer);
    glCreateFramebuffers(1, &m_clearFramebuffer);
    glCreateVertexArrays(1, &m_vertexArray);
    glBindVertexArray(m_vertexArray);
    m_units.createGl();
}

void DrawTranslator::releaseGl()
{
    m_programs.releaseGl();
    m_fixedFunction.releaseGl();
    m_units.releaseGl();
    glDeleteVertexArrays(1, &m_vertexArray);
    glDeleteFramebuffers(1, &m_framebuffer);
    glDeleteFramebuffers(1, &m_clearFramebuffer);
}

// The draw buffers name only the targets a draw writes: GL leaves the others
// undefined (or, for a shader that writes gl_FragColor, broadcasts to them),
// while D3D9 keeps the contents of a target the pixel shader does not write.
bool DrawTranslator::applyTargets(DeviceState& a_state, unsigned a_outputs)
{
    m_gl.bindDrawFramebuffer(m_framebuffer);
    if (a_state.changes().targets)
    {
        for (GLenum i = 0; i < DeviceState::MaxRenderTargets; ++i)
            attach(m_framebuffer, GL_COLOR_ATTACHMENT0 + i, a_state.target(i));
        // A depth buffer with stencil fills both attachment points; detaching
        // the pair first clears a stencil attachment a previous buffer left.
        const Surface9* depth = a_state.depth();
        const bool stencil = depth && depth->storage().format().stencil;
        attach(m_framebuffer, GL_DEPTH_STENCIL_ATTACHMENT, stencil ? depth : nullptr);
        if (!stencil)
            attach(m_framebuffer, GL_DEPTH_ATTACHMENT, depth);
        const GLenum status = glCheckNamedFramebufferStatus(m_framebuffer, GL_DRAW_FRAMEBUFFER);
        m_framebufferComplete = status == GL_FRAMEBUFFER_COMPLETE;
        if (!m_framebufferComplete)
            SDL_Log("d3d9: GL cannot draw into these targets (status 0x%x)", status);
        a_state.changes().targets = false;
        m_drawBuffers = ~0u;
    }
    const unsigned outputs = a_outputs & a_state.boundTargets();
    if (outputs != m_drawBuffers || GlStateCache::bypass())
    {
        GLenum drawBuffers[DeviceState::MaxRenderTargets];
        for (GLenum i = 0; i < DeviceState::MaxRenderTargets; ++i)
            drawBuffers[i] = (outputs >> i) & 1 ? GL_COLOR_ATTACHMENT0 + i : GL_NONE;
        glNamedFramebufferDrawBuffers(m_framebuffer, DeviceState::MaxRenderTargets, drawBuffers);
        m_drawBuffers = outputs;
    }
    return m_framebufferComplete;
}

bool DrawTranslator::applyDraw(DeviceState& a_state)
{
    const PixelShader9* pixelShader = a_state.pixelShader();
    const unsigned outputs = pixelShader ? pixelShader->code().translated().colourOutputs : 1u;
    if (!applyTargets(a_state, outputs) || !applyProgram(a_state))
        return false;
    applyRenderStates(a_state);
    applyVertexInput(a_state);
    const DeviceState::Changes& changes = a_state.changes();
    if (changes.textures | changes.samplers)
        m_units.apply(a_state, m_gl);
    return true;
}

void DrawTranslator::drawIndexed(D3DPRIMITIVETYPE a_type, const DeviceState& a_state,
                                 INT a_baseVertex, UINT a_startIndex, uint64_t a_indices)
{
    const IndexBuffer9& indices = *a_state.indices();
    glDrawElementsBaseVertex(
        GlEnums::primitive(a_type), GLsizei(a_indices), indices.glType(),
        reinterpret_cast<const void*>(uintptr_t(a_startIndex) * indices.indexSize()), a_baseVertex);
}

// D3D9 clears every bound colour target and the depth buffer inside the
// area, whatever the write masks say, each target as far as it reaches,
// whatever its size against target 0.
void DrawTranslator::clear(const DeviceState& a_state, const D3DRECT& a_area, DWORD a_count,
                           const D3DRECT* a_rects, DWORD a_flags, D3DCOLOR a_color, float a_z,
                           DWORD a_stencil)
{
    float color[4];
    GlEnums::color(a_color, color);
    m_gl.colorMask(0xF);
    m_gl.depthMask(true);
    m_gl.enable(GL_SCISSOR_TEST, true);
    const bool oneSize = a_state.targetsShareOneSize();
    const DWORD areas = a_count > 0 ? a_count : 1;
    for (DWORD i = 0; i < areas; ++i)
    {
        D3DRECT area = a_area;
        if (a_count > 0)
        {
            area.x1 = std::max(area.x1, a_rects[i].x1);
            area.y1 = std::max(area.y1, a_rects[i].y1);
            area.x2 = std::min(area.x2, a_rects[i].x2);
            area.y2 = std::min(area.y2, a_rects[i].y2);
            if (area.x1 >= area.x2 || area.y1 >= area.y2)
                continue;
        }
        m_gl.scissor(area.x1, area.y1, area.x2 - area.x1, area.y2 - area.y1);
        if (oneSize)
            clearAttachments(m_framebuffer, a_state.boundTargets(), a_flags, color, a_z, a_stencil);
        else
            clearEachTarget(a_state, a_flags, color, a_z, a_stencil);
    }
}

// Clears the draw buffers a_colourBuffers names (bit n: draw buffer n) and
// the depth and stencil attached to a_framebuffer, inside the current
// scissor rectangle.
void DrawTranslator::clearAttachments(GLuint a_framebuffer, unsigned a_colourBuffers, DWORD a_flags,
                                      const float a_color[4], float a_z, DWORD a_stencil)
{
    for (GLint buffer = 0; buffer < GLint(DeviceState::MaxRenderTargets); ++buffer)
        if ((a_flags & D3DCLEAR_TARGET) && ((a_colourBuffers >> buffer) & 1))
            glClearNamedFramebufferfv(a_framebuffer, GL_COLOR, buffer, a_color);
    if (a_flags & D3DCLEAR_ZBUFFER)
        glClearNamedFramebufferfv(a_framebuffer, GL_DEPTH, 0, &a_z);
    if (a_flags & D3DCLEAR_STENCIL)
    {
        const GLint stencil = GLint(a_stencil & 0xFF);
        glClearNamedFramebufferiv(a_framebuffer, GL_STENCIL, 0, &stencil);
    }
}

// GL draws and clears only where every attachment of a framebuffer reaches;
// D3D9 clears each target as far as it extends. Targets of different sizes
// are cleared one at a time, each alone in a framebuffer of its own size.
void DrawTranslator::clearEachTarget(const DeviceState& a_state, DWORD a_flags,
                                     const float a_color[4], float a_z, DWORD a_stencil)
{
    glNamedFramebufferDrawBuffer(m_clearFramebuffer, GL_COLOR_ATTACHMENT0);
    for (UINT i = 0; i < DeviceState::MaxRenderTargets; ++i)
        if ((a_flags & D3DCLEAR_TARGET) && a_state.target(i))
        {
            attach(m_clearFramebuffer, GL_COLOR_ATTACHMENT0, a_state.target(i));
            clearAttachments(m_clearFramebuffer, 1u, D3DCLEAR_TARGET, a_color, a_z, a_stencil);
        }
    attach(m_clearFramebuffer, GL_COLOR_ATTACHMENT0, nullptr);
    const DWORD depthFlags = a_flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
    if (!depthFlags)
        return;
    const Surface9* depth = a_state.depth();
    const GLenum attachment =
        depth->storage().format().stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
    glNamedFramebufferDrawBuffer(m_clearFramebuffer, GL_NONE);
    attach(m_clearFramebuffer, attachment, depth);
    clearAttachments(m_clearFramebuffer, 0u, depthFlags, a_color, a_z, a_stencil);
    attach(m_clearFramebuffer, attachment, nullptr);
}

// Render states reach GL at draw time.
void DrawTranslator::applyRenderStates(const DeviceState& a_state)
{
    const DWORD* states = a_state.renderStates();
    m_gl.enable(GL_DEPTH_TEST, states[D3DRS_ZENABLE] != D3DZB_FALSE && a_state.depth());
    m_gl.depthMask(states[D3DRS_ZWRITEENABLE] != FALSE);
    const GLenum function = GlEnums::compare(states[D3DRS_ZFUNC]);
    if (function != GlEnums::None)
        m_gl.depthFunc(function);
    applyCullMode(states[D3DRS_CULLMODE]);
    m_gl.enable(GL_BLEND, states[D3DRS_ALPHABLENDENABLE] != FALSE);
    const GLenum source = GlEnums::blend(states[D3DRS_SRCBLEND]);
    const GLenum destination = GlEnums::blend(states[D3DRS_DESTBLEND]);
    if (source != GlEnums::None && destination != GlEnums::None)
        m_gl.blendFunc(source, destination);
    const GLenum equation = GlEnums::blendOp(states[D3DRS_BLENDOP]);
    if (equation != GlEnums::None)
        m_gl.blendEquation(equation);
    m_gl.colorMask(states[D3DRS_COLORWRITEENABLE]);
    m_gl.enable(GL_SCISSOR_TEST, states[D3DRS_SCISSORTESTENABLE] != FALSE);
    const RECT& scissor = a_state.scissor();
    m_gl.scissor(scissor.left, scissor.top, scissor.right - scissor.left,
                 scissor.bottom - scissor.top);
    const D3DVIEWPORT9& viewport = a_state.viewport();
    m_gl.viewport(GLint(viewport.X), GLint(viewport.Y), GLsizei(viewport.Width),
                  GLsizei(viewport.Height));
    m_gl.depthRange(viewport.MinZ, viewport.MaxZ);
}

// D3D9 calls triangles that turn clockwise on screen front faces;
// D3DCULL_CW culls them and D3DCULL_CCW culls the others. GL measures the
// turn in window coordinates, whose y grows with the row as the screen's
// does (clip space is turned upside down, DeviceContext::adoptD3DConventions),
// where GL's sign convention calls clockwise on screen counter-clockwise:
// glFrontFace(GL_CCW), set once with the other conventions.
void DrawTranslator::applyCullMode(DWORD a_cullMode)
{
    m_gl.enable(GL_CULL_FACE, a_cullMode == D3DCULL_CW || a_cullMode == D3DCULL_CCW);
    m_gl.cullFace(a_cullMode == D3DCULL_CW ? GL_FRONT : GL_BACK);
}

void DrawTranslator::applyVertexInput(DeviceState& a_state)
{
    if (!a_state.changes().vertexInput && !GlStateCache::bypass())
        return;
    glVertexArrayVertexBuffer(m_vertexArray, 0, a_state.stream()->buffer().name(),
                              GLintptr(a_state.streamOffset()), GLsizei(a_state.streamStride()));
    const FvfLayout& layout = a_state.layout();
    bool enabled[FvfLayout::LocationCount] = {};
    for (UINT i = 0; i < layout.count; ++i)
    {
        const FvfLayout::Element& element = layout.elements[i];
        glVertexArrayAttribFormat(m_vertexArray, element.location, element.components, element.type,
                                  element.normalized, element.offset);
        glVertexArrayAttribBinding(m_vertexArray, element.location, 0);
        glEnableVertexArrayAttrib(m_vertexArray, element.location);
        enabled[element.location] = true;
    }
    for (GLuint location = 0; location < FvfLayout::LocationCount; ++location)
        if (!enabled[location])
            glDisableVertexArrayAttrib(m_vertexArray, location);
    // Vertices without a colour are opaque white in D3D9.
    if (!enabled[FvfLayout::DiffuseLocation])
        glVertexAttrib4f(FvfLayout::DiffuseLocation, 1.0f, 1.0f, 1.0f, 1.0f);
    const IndexBuffer9* indices = a_state.indices();
    glVertexArrayElementBuffer(m_vertexArray, indices ? indices->buffer().name() : 0);
    a_state.changes().vertexInput = false;
}

void DrawTranslator::uploadRegisters(GLuint a_program, const GLint a_locations[3],
                                     const TranslatedShader& a_shader,
                                     const DeviceState::Registers& a_registers)
{
    auto gather = [](auto& a_out, const auto* a_from, UINT a_registerCount, UINT a_width,
                     const std::vector<TranslatedShader::RegisterRange>& a_ranges) {
        a_out.clear();
        for (const TranslatedShader::RegisterRange& range : a_ranges)
            for (unsigned i = 0; i < range.count; ++i)
            {
                const unsigned index = range.first + i;
                for (UINT component = 0; component < a_width; ++component)
                    a_out.push_back(index < a_registerCount ? a_from[index * a_width + component]
                                                            : 0);
            }
    };
    const UINT floatRegisters = UINT(a_registers.floats.size() / 4);
    if (a_locations[0] >= 0)
    {
        gather(m_uploadFloats, a_registers.floats.data(), floatRegisters, 4, a_shader.floats);
        glProgramUniform4fv(a_program, a_locations[0], GLsizei(m_uploadFloats.size() / 4),
                            m_uploadFloats.data());
    }
    if (a_locations[1] >= 0)
    {
        gather(m_uploadInts, a_registers.ints, DeviceState::IntRegisters, 4, a_shader.ints);
        glProgramUniform4iv(a_program, a_locations[1], GLsizei(m_uploadInts.size() / 4),
                            m_uploadInts.data());
    }
    if (a_locations[2] >= 0)
    {
        gather(m_uploadInts, a_registers.bools, DeviceState::BoolRegisters, 1, a_shader.bools);
        glProgramUniform1iv(a_program, a_locations[2], GLsizei(m_uploadInts.size()),
                            m_uploadInts.data());
    }
}

// Shaders are linked per pair; with no shaders bound, pre-transformed
// vertices take the fixed-function path. Other mixes have no GL program.
bool DrawTranslator::applyProgram(const DeviceState& a_state)
{
    const D3DVIEWPORT9& viewport = a_state.viewport();
    float pixelCentre[2];
    PixelCentre::clipOffset(viewport.Width, viewport.Height, pixelCentre);
    const VertexShader9* vertexShader = a_state.vertexShader();
    const PixelShader9* pixelShader = a_state.pixelShader();
    if (vertexShader && pixelShader)
    {
        const ProgramCache::Program& program =
            m_programs.get(vertexShader->code(), pixelShader->code());
        if (!program.program)
            return false;
        m_gl.useProgram(program.program);
        const GLint vertexLocations[3] = {program.floats[0], program.ints[0], program.bools[0]};
        const GLint pixelLocations[3] = {program.floats[1], program.ints[1], program.bools[1]};
        uploadRegisters(program.program, vertexLocations, vertexShader->code().translated(),
                        a_state.vertexRegisters());
        uploadRegisters(program.program, pixelLocations, pixelShader->code().translated(),
                        a_state.pixelRegisters());
        glProgramUniform2fv(program.program, program.pixelCentre, 1, pixelCentre);
        applyColourClamping(vertexShader->code().translated().majorVersion,
                            pixelShader->code().translated().majorVersion);
        return true;
    }
    // FIXME: the fixed-function path blends stage 0 only; a draw that enables
    // stage 1 is refused rather than drawn without it.
    if (vertexShader || pixelShader || !a_state.layout().pretransformed ||
        a_state.stageStates(1)[D3DTSS_COLOROP] != D3DTOP_DISABLE)
        return false;
    const GLuint program = m_fixedFunction.program();
    if (!program)
        return false;
    m_gl.useProgram(program);
    const float area[4] = {float(viewport.X), float(viewport.Y), float(viewport.Width),
                           float(viewport.Height)};
    const TextureStorage* texture = a_state.textureStorage(0);
    m_fixedFunction.setUniforms(area, pixelCentre, texture && texture->target() == GL_TEXTURE_2D,
                                a_state.stageStates(0));
    applyColourClamping(0, 0);
    return true;
}

// Vertex shaders below model 3 (and the fixed-function pipeline) clamp the
// colours they output to 0..1. A pixel shader's colours are clamped only on
// the fixed-function path: from model 2 on, a float target receives what
// the shader writes, outside 0..1 too, as Wine's Direct3D 9 draws it (the
// documentation of the colour outputs names no clamping).
void DrawTranslator::applyColourClamping(unsigned a_vertexModel, unsigned a_pixelModel)
{
    m_gl.clampColors(a_vertexModel < 3, a_pixelModel < 2);
}
