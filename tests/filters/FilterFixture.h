// A renderer with the filters' programs and the noise image in the working
// directory, full-size targets to draw from and into, and ways to fill them
// and read them back.
#pragma once

#include "render/RendererFixture.h"

#include <d3dx9.h>

#include <memory>
#include <vector>

class FilterFixture : public RendererFixture
{
public:
    // The renderer's internal size, which its scratch targets have.
    static constexpr int32_t kWidth = 1280;
    static constexpr int32_t kHeight = 720;

protected:
    void SetUp() override;
    void TearDown() override;

    // A new A16B16G16R16F target of the internal size, owned by the fixture.
    RenderTarget* makeTarget();
    // Clears a_target (or the rectangle a_rect of it) to a_colour; leaves it
    // bound, which records the internal size as the current one.
    void fill(RenderTarget* a_target, D3DCOLOR a_colour, const D3DRECT* a_rect = nullptr);
    std::vector<Texel> read(const RenderTarget* a_target);
    static const Texel& at(const std::vector<Texel>& a_texels, int32_t a_x, int32_t a_y)
    {
        return a_texels[size_t(a_y) * kWidth + size_t(a_x)];
    }
    // Pixel-shader float register a_register.
    D3DXVECTOR4 pixelConstant(UINT a_register);

    // Replaces "blur.psh" or "radialblur.psh" (a_name) with a program that
    // marks what each pass did: red = the source's red + 1, green and blue
    // = its constant registers c0.x and c1.x ("xpower", "ypower") or c0.x and
    // c0.y ("dir").
    static void writePassCounter(const char* a_name);

    std::vector<std::unique_ptr<RenderTarget>> m_targets;
};
