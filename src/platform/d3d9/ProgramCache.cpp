// GL programs linked per vertex and pixel shader pair.
#include "ProgramCache.h"

#include "FvfLayout.h"
#include "GlProgram.h"
#include "PixelCentre.h"
#include "ShaderCode.h"

#include <string>

namespace
{

ProgramCache::Program link(const ShaderCode& a_vertex, const ShaderCode& a_pixel)
{
    ProgramCache::Program linked;
    linked.program = GlProgram::link(a_vertex.shader(), a_pixel.shader(), [&](GLuint a_program) {
        for (const TranslatedShader::Input& input : a_vertex.translated().inputs)
        {
            const int location = FvfLayout::location(input.usage, input.index);
            if (location >= 0)
                glBindAttribLocation(a_program, GLuint(location), input.name.c_str());
        }
    });
    if (!linked.program)
        return linked;
    const TranslatedShader* stages[2] = {&a_vertex.translated(), &a_pixel.translated()};
    for (int stage = 0; stage < 2; ++stage)
    {
        const std::string prefix = stages[stage]->prefix;
        linked.floats[stage] =
            glGetUniformLocation(linked.program, (prefix + "_uniforms_vec4").c_str());
        linked.ints[stage] =
            glGetUniformLocation(linked.program, (prefix + "_uniforms_ivec4").c_str());
        linked.bools[stage] =
            glGetUniformLocation(linked.program, (prefix + "_uniforms_bool").c_str());
        // Sampler s reads texture unit s, where SetTexture(s) put its texture.
        for (const TranslatedShader::Sampler& sampler : stages[stage]->samplers)
            glProgramUniform1i(linked.program,
                               glGetUniformLocation(linked.program, sampler.name.c_str()),
                               GLint(sampler.stage));
    }
    linked.pixelCentre = glGetUniformLocation(linked.program, PixelCentre::uniformName());
    float flip[2];
    PixelCentre::flip(flip);
    glProgramUniform2fv(linked.program,
                        glGetUniformLocation(linked.program, PixelCentre::flipUniformName()), 1,
                        flip);
    return linked;
}

}  // namespace

const ProgramCache::Program& ProgramCache::get(const ShaderCode& a_vertex,
                                               const ShaderCode& a_pixel)
{
    const auto key = std::make_pair(&a_vertex, &a_pixel);
    auto found = m_programs.find(key);
    if (found == m_programs.end())
        found = m_programs.emplace(key, link(a_vertex, a_pixel)).first;
    return found->second;
}

void ProgramCache::forget(const ShaderCode* a_shader)
{
    for (auto it = m_programs.begin(); it != m_programs.end();)
    {
        if (it->first.first == a_shader || it->first.second == a_shader)
        {
            if (it->second.program)
                glDeleteProgram(it->second.program);
            it = m_programs.erase(it);
        }
        else
            ++it;
    }
}

void ProgramCache::releaseGl()
{
    for (auto& entry : m_programs)
        if (entry.second.program)
            glDeleteProgram(entry.second.program);
    m_programs.clear();
}
