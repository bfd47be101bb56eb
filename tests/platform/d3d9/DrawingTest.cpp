// Drawing through Direct3D 9: small scenes read back pixel by pixel, run
// under every setting of the layer (LayerSetting.h).
//
// Untested: colour write masks and blend operations other than add, border
// addressing, anisotropic filtering (the system uses none of them); drawing
// into a cube face (the system never does).
#include "Canvas.h"
#include "CubeSampling.h"
#include "TestDevice.h"

#include "LayerSettingTest.h"

#include <gtest/gtest.h>

#include <math.h>
#include <functional>
#include <string>
#include <vector>

namespace
{

// One pixel (or channel set) a scene drew, against what D3D9 draws there.
struct Probe
{
    std::string what;
    Rgba actual;
    Rgba expected;
    float tolerance;
};

const float g_byte = 1.5f / 255.0f;  // one step of an 8-bit channel, and rounding
const float g_half = 0.01f;

struct Scene
{
    const char* name;
    std::function<std::vector<Probe>(TestDevice&)> run;
};

Rgba at(const std::vector<Rgba>& a_pixels, UINT a_width, UINT a_x, UINT a_y)
{
    return a_pixels[size_t(a_y) * a_width + a_x];
}

const char g_colourShader[] = "ps_3_0\n"
                              "const float4 colour : c0\n"
                              "mov oC0, c0\n";

const char g_textureShader[] = "ps_3_0\n"
                               "dcl_texcoord v0.xy\n"
                               "dcl_2d s0\n"
                               "texld r0, v0, s0\n"
                               "mov oC0, r0\n";

// The full-screen quad at depth c0.x.
const char g_depthVertexShader[] = "vs_3_0\n"
                                   "const float depth : c0\n"
                                   "dcl_position v0\n"
                                   "dcl_texcoord v1\n"
                                   "dcl_position o0\n"
                                   "dcl_texcoord o1\n"
                                   "mov o0.xyw, v0\n"
                                   "mov o0.z, c0.x\n"
                                   "mov o1, v1\n";

std::vector<Scene> scenes()
{
    return {
        {"Clear fills four targets of the four formats at once",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             const D3DFORMAT formats[4] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A16B16G16R16F,
                                           D3DFMT_G32R32F};
             IDirect3DSurface9* targets[4];
             for (DWORD i = 0; i < 4; ++i)
                 targets[i] = canvas.target(i, 8, 8, formats[i]);
             EXPECT_EQ(a_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x80FF4020, 1.0f, 0), D3D_OK);
             const Rgba colour = argb(0x80FF4020);
             // What each format keeps in memory: X8R8G8B8 no alpha, G32R32F
             // only red and green.
             const Rgba stored[4] = {colour,
                                     {colour.r, colour.g, colour.b, NAN},
                                     colour,
                                     {colour.r, colour.g, 0.0f, 0.0f}};
             std::vector<Probe> probes;
             for (DWORD i = 0; i < 4; ++i)
             {
                 const std::vector<Rgba> pixels = a_device.readRgba(targets[i]);
                 probes.push_back({"target " + std::to_string(i) + " top left", at(pixels, 8, 0, 0),
                                   stored[i], g_byte});
                 probes.push_back({"target " + std::to_string(i) + " bottom right",
                                   at(pixels, 8, 7, 7), stored[i], g_byte});
             }
             return probes;
         }},
        {"Clear stays inside the viewport and the rectangles given",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 8, 8, D3DFMT_A8R8G8B8);
             a_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
             const D3DVIEWPORT9 viewport = {2, 2, 4, 4, 0.0f, 1.0f};
             EXPECT_EQ(a_device->SetViewport(&viewport), D3D_OK);
             a_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
             const D3DRECT rect = {0, 0, 3, 3};  // cut to the viewport: pixel (2, 2) only
             a_device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
             const std::vector<Rgba> pixels = a_device.readRgba(target);
             return std::vector<Probe>{
                 {"left of the viewport", at(pixels, 8, 1, 3), argb(0xFF000000), g_byte},
                 {"viewport's first pixel, in the rectangle", at(pixels, 8, 2, 2), argb(0xFFFF0000),
                  g_byte},
                 {"viewport, outside the rectangle", at(pixels, 8, 3, 3), argb(0xFF0000FF), g_byte},
                 {"viewport's last pixel", at(pixels, 8, 5, 5), argb(0xFF0000FF), g_byte},
                 {"below the viewport", at(pixels, 8, 5, 6), argb(0xFF000000), g_byte},
             };
         }},
        {"Four formats written at once keep their values, and sampling reads 1 for the "
         "channels a format lacks",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             const D3DFORMAT formats[4] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A16B16G16R16F,
                                           D3DFMT_G32R32F};
             IDirect3DTexture9* textures[4];
             IDirect3DSurface9* targets[4];
             for (DWORD i = 0; i < 4; ++i)
                 targets[i] = canvas.target(i, 4, 4, formats[i], &textures[i]);
             canvas.quadShaders("ps_3_0\n"
                                "const float4 outputs[4] : c0\n"
                                "mov oC0, c0\n"
                                "mov oC1, c1\n"
                                "mov oC2, c2\n"
                                "mov oC3, c3\n");
             const float written[16] = {0.25f, 0.5f,  0.75f, 0.25f,   // A8R8G8B8
                                        0.25f, 0.5f,  0.75f, 0.25f,   // X8R8G8B8
                                        2.5f,  -1.0f, 0.5f,  0.25f,   // A16B16G16R16F
                                        3.5f,  -2.0f, 0.5f,  0.25f};  // G32R32F
             a_device->SetPixelShaderConstantF(0, written, 4);
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             canvas.drawQuad(nullptr);
             std::vector<Probe> probes;
             const Rgba stored[4] = {{0.25f, 0.5f, 0.75f, 0.25f},
                                     {0.25f, 0.5f, 0.75f, NAN},
                                     {2.5f, -1.0f, 0.5f, 0.25f},
                                     {3.5f, -2.0f, 0.0f, 0.0f}};
             for (DWORD i = 0; i < 4; ++i)
                 probes.push_back({"written to target " + std::to_string(i),
                                   at(a_device.readRgba(targets[i]), 4, 1, 2), stored[i], g_byte});
             for (DWORD i = 1; i < 4; ++i)
                 a_device->SetRenderTarget(i, nullptr);
             IDirect3DSurface9* result = canvas.target(0, 4, 4, D3DFMT_A16B16G16R16F);
             canvas.quadShaders(g_textureShader);
             const Rgba sampled[4] = {{0.25f, 0.5f, 0.75f, 0.25f},
                                      {0.25f, 0.5f, 0.75f, 1.0f},
                                      {2.5f, -1.0f, 0.5f, 0.25f},
                                      {3.5f, -2.0f, 1.0f, 1.0f}};
             for (DWORD i = 0; i < 4; ++i)
             {
                 a_device->SetTexture(0, textures[i]);
                 canvas.drawQuad(nullptr);
                 probes.push_back({"target " + std::to_string(i) + " sampled",
                                   at(a_device.readRgba(result), 4, 2, 1), sampled[i], g_byte});
             }
             return probes;
         }},
        {"Additive blending adds the source to the target",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 4, 4, D3DFMT_A8R8G8B8);
             a_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF402000, 1.0f, 0);
             canvas.quadShaders(g_colourShader);
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             a_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
             a_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
             a_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
             const float colour[4] = {64 / 255.0f, 128 / 255.0f, 128 / 255.0f, 0.0f};
             canvas.drawQuad(colour);
             a_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
             return std::vector<Probe>{
                 {"sum", at(a_device.readRgba(target), 4, 1, 1), argb(0xFF80A080), g_byte}};
         }},
        {"Alpha blending mixes by the source's alpha",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 4, 4, D3DFMT_A8R8G8B8);
             a_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
             canvas.quadShaders(g_colourShader);
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             a_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
             a_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
             a_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
             const float colour[4] = {1.0f, 0.0f, 0.0f, 0.25f};
             canvas.drawQuad(colour);
             a_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
             // source x alpha + target x (1 - alpha), alpha included
             const Rgba expected = {0.25f, 0.0f, 0.75f, 0.25f * 0.25f + 0.75f};
             return std::vector<Probe>{
                 {"mix", at(a_device.readRgba(target), 4, 2, 2), expected, g_byte}};
         }},
        {"Culling: D3DCULL_CW removes triangles clockwise on screen, D3DCULL_CCW the others",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 8, 8, D3DFMT_A8R8G8B8);
             const DWORD white = 0xFFFFFFFF;
             // Left: top-left, top-right, bottom-left, clockwise on screen.
             // Right: counter-clockwise.
             const Canvas::ScreenVertex triangles[6] = {
                 {0, 0, 0, 1, white, 0, 0}, {4, 0, 0, 1, white, 0, 0}, {0, 8, 0, 1, white, 0, 0},
                 {4, 0, 0, 1, white, 0, 0}, {4, 8, 0, 1, white, 0, 0}, {8, 0, 0, 1, white, 0, 0}};
             canvas.keep(a_device.bindVertices(triangles, sizeof(triangles),
                                               sizeof(Canvas::ScreenVertex),
                                               D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1));
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             struct Case
             {
                 const char* name;
                 DWORD cullMode;
                 bool clockwiseDrawn;
                 bool counterClockwiseDrawn;
             };
             const Case cases[] = {{"none", D3DCULL_NONE, true, true},
                                   {"cw", D3DCULL_CW, false, true},
                                   {"ccw", D3DCULL_CCW, true, false}};
             std::vector<Probe> probes;
             for (const Case& test : cases)
             {
                 a_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
                 a_device->SetRenderState(D3DRS_CULLMODE, test.cullMode);
                 EXPECT_EQ(a_device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
                 const std::vector<Rgba> pixels = a_device.readRgba(target);
                 probes.push_back({std::string(test.name) + ": clockwise triangle",
                                   at(pixels, 8, 1, 1),
                                   argb(test.clockwiseDrawn ? white : 0xFF000000), g_byte});
                 probes.push_back({std::string(test.name) + ": counter-clockwise triangle",
                                   at(pixels, 8, 6, 1),
                                   argb(test.counterClockwiseDrawn ? white : 0xFF000000), g_byte});
             }
             a_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
             return probes;
         }},
        {"Depth test and depth writes follow their states",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 4, 4, D3DFMT_A8R8G8B8);
             canvas.quadShaders(g_colourShader, g_depthVertexShader);
             const float red[4] = {1, 0, 0, 1};
             const float green[4] = {0, 1, 0, 1};
             struct Case
             {
                 const char* name;
                 BOOL firstWrites;  // the red quad at depth 0.5
                 BOOL secondTests;  // the green quad at depth 0.7
                 DWORD secondFunction;
                 const float* expected;
             };
             const Case cases[] = {
                 {"nearer quad hides a farther one", TRUE, TRUE, D3DCMP_LESSEQUAL, red},
                 {"no depth written, nothing hidden", FALSE, TRUE, D3DCMP_LESSEQUAL, green},
                 {"depth test off draws over", TRUE, FALSE, D3DCMP_LESSEQUAL, green},
                 {"greater passes the farther quad", TRUE, TRUE, D3DCMP_GREATER, green},
             };
             std::vector<Probe> probes;
             for (const Case& test : cases)
             {
                 a_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f,
                                 0);
                 a_device->SetRenderState(D3DRS_ZENABLE, TRUE);
                 a_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
                 a_device->SetRenderState(D3DRS_ZWRITEENABLE, test.firstWrites);
                 const float nearDepth[4] = {0.5f, 0, 0, 0};
                 a_device->SetVertexShaderConstantF(0, nearDepth, 1);
                 canvas.drawQuad(red);
                 a_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
                 a_device->SetRenderState(D3DRS_ZENABLE, test.secondTests);
                 a_device->SetRenderState(D3DRS_ZFUNC, test.secondFunction);
                 const float farDepth[4] = {0.7f, 0, 0, 0};
                 a_device->SetVertexShaderConstantF(0, farDepth, 1);
                 canvas.drawQuad(green);
                 probes.push_back(
                     {test.name, at(a_device.readRgba(target), 4, 1, 1),
                      Rgba{test.expected[0], test.expected[1], test.expected[2], test.expected[3]},
                      g_byte});
             }
             a_device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
             return probes;
         }},
        {"Point and linear filtering, clamped and wrapped, between a black and a white texel",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 4, 1, D3DFMT_A8R8G8B8);
             a_device->SetTexture(0, canvas.keep(a_device.texture(2, 1, {0xFF000000, 0xFFFFFFFF})));
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             // Pixel i of the 4-pixel row samples u = (i + 0.5) / 4; the
             // 2-texel texture filters at texel coordinate 2u - 0.5.
             struct Case
             {
                 const char* name;
                 DWORD filter;
                 DWORD address;
                 float expected[4];
             };
             const Case cases[] = {
                 {"point", D3DTEXF_POINT, D3DTADDRESS_CLAMP, {0.0f, 0.0f, 1.0f, 1.0f}},
                 {"linear clamp", D3DTEXF_LINEAR, D3DTADDRESS_CLAMP, {0.0f, 0.25f, 0.75f, 1.0f}},
                 {"linear wrap", D3DTEXF_LINEAR, D3DTADDRESS_WRAP, {0.25f, 0.25f, 0.75f, 0.75f}},
             };
             std::vector<Probe> probes;
             for (const Case& test : cases)
             {
                 a_device->SetSamplerState(0, D3DSAMP_MINFILTER, test.filter);
                 a_device->SetSamplerState(0, D3DSAMP_MAGFILTER, test.filter);
                 a_device->SetSamplerState(0, D3DSAMP_ADDRESSU, test.address);
                 a_device->SetSamplerState(0, D3DSAMP_ADDRESSV, test.address);
                 canvas.drawScreenQuad(-0.5f, -0.5f, 3.5f, 0.5f, 0xFFFFFFFF);
                 const std::vector<Rgba> pixels = a_device.readRgba(target);
                 for (UINT x = 0; x < 4; ++x)
                 {
                     const float grey = test.expected[x];
                     probes.push_back({std::string(test.name) + ", pixel " + std::to_string(x),
                                       at(pixels, 4, x, 0), Rgba{grey, grey, grey, 1.0f},
                                       2.0f * g_byte});
                 }
             }
             for (DWORD state : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER})
                 a_device->SetSamplerState(0, D3DSAMPLERSTATETYPE(state), D3DTEXF_POINT);
             for (DWORD state : {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV})
                 a_device->SetSamplerState(0, D3DSAMPLERSTATETYPE(state), D3DTADDRESS_WRAP);
             return probes;
         }},
        {"A cube texture answers a direction with the face and texel D3D9's cube rules pick",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 6, 1, D3DFMT_A8R8G8B8);
             const CubeSampling cube(a_device, canvas);
             // Per face: the major axis picks it; (u, v) = ((sc / |ma| + 1) / 2,
             // (tc / |ma| + 1) / 2) with sc, tc from D3D9's table.
             struct Case
             {
                 float direction[4];
                 DWORD face, x, y;
             };
             const Case cases[6] = {
                 {{1.0f, 0.5f, -0.5f, 0}, 0, 1, 0},   // +x: sc = -z, tc = -y
                 {{-1.0f, 0.5f, 0.5f, 0}, 1, 1, 0},   // -x: sc = z, tc = -y
                 {{0.5f, 1.0f, 0.5f, 0}, 2, 1, 1},    // +y: sc = x, tc = z
                 {{-0.5f, -1.0f, 0.5f, 0}, 3, 0, 0},  // -y: sc = x, tc = -z
                 {{-0.5f, -0.5f, 1.0f, 0}, 4, 0, 1},  // +z: sc = x, tc = -y
                 {{0.5f, 0.5f, -1.0f, 0}, 5, 0, 0},   // -z: sc = -x, tc = -y
             };
             for (DWORD i = 0; i < 6; ++i)
             {
                 const D3DVIEWPORT9 viewport = {i, 0, 1, 1, 0.0f, 1.0f};
                 a_device->SetViewport(&viewport);
                 canvas.drawQuad(cases[i].direction);
             }
             const std::vector<Rgba> pixels = a_device.readRgba(target);
             std::vector<Probe> probes;
             for (DWORD i = 0; i < 6; ++i)
                 probes.push_back({"face " + std::to_string(cases[i].face), at(pixels, 6, i, 0),
                                   argb(CubeSampling::texel(cases[i].face, cases[i].x, cases[i].y)),
                                   g_byte});
             return probes;
         }},
        {"An if b0 branch follows the bool constant register",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 2, 1, D3DFMT_A8R8G8B8);
             canvas.quadShaders("ps_3_0\n"
                                "const bool useFirst : b0\n"
                                "def c0, 1, 0, 0, 1\n"
                                "def c1, 0, 0, 1, 1\n"
                                "if b0\n"
                                "mov oC0, c0\n"
                                "else\n"
                                "mov oC0, c1\n"
                                "endif\n");
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             for (DWORD i = 0; i < 2; ++i)
             {
                 const BOOL flag = i == 0 ? TRUE : FALSE;
                 a_device->SetPixelShaderConstantB(0, &flag, 1);
                 const D3DVIEWPORT9 viewport = {i, 0, 1, 1, 0.0f, 1.0f};
                 a_device->SetViewport(&viewport);
                 canvas.drawQuad(nullptr);
             }
             const std::vector<Rgba> pixels = a_device.readRgba(target);
             return std::vector<Probe>{{"b0 true", at(pixels, 2, 0, 0), argb(0xFFFF0000), g_byte},
                                       {"b0 false", at(pixels, 2, 1, 0), argb(0xFF0000FF), g_byte}};
         }},
        {"A rep i0 loop runs as often as the int constant register says",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 2, 1, D3DFMT_A8R8G8B8);
             canvas.quadShaders("ps_3_0\n"
                                "const int4 steps : i0\n"
                                "def c1, 0, 0, 0, 1\n"
                                "def c0, 0.25, 0.125, 0, 0\n"
                                "mov r0, c1\n"
                                "rep i0\n"
                                "add r0, r0, c0\n"
                                "endrep\n"
                                "mov oC0, r0\n");
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             const int counts[2] = {3, 1};
             for (DWORD i = 0; i < 2; ++i)
             {
                 const int steps[4] = {counts[i], 0, 0, 0};
                 a_device->SetPixelShaderConstantI(0, steps, 1);
                 const D3DVIEWPORT9 viewport = {i, 0, 1, 1, 0.0f, 1.0f};
                 a_device->SetViewport(&viewport);
                 canvas.drawQuad(nullptr);
             }
             const std::vector<Rgba> pixels = a_device.readRgba(target);
             return std::vector<Probe>{
                 {"three steps", at(pixels, 2, 0, 0), Rgba{0.75f, 0.375f, 0, 1}, g_byte},
                 {"one step", at(pixels, 2, 1, 0), Rgba{0.25f, 0.125f, 0, 1}, g_byte}};
         }},
        {"A pixel shader's vPos is the pixel's integer position",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 8, 8, D3DFMT_A16B16G16R16F);
             canvas.quadShaders("ps_3_0\n"
                                "def c0, 0, 0, 0, 1\n"
                                "dcl vPos.xy\n"
                                "mov r0, c0\n"
                                "mov r0.xy, vPos\n"
                                "mov oC0, r0\n");
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             canvas.drawQuad(nullptr);
             const std::vector<Rgba> pixels = a_device.readRgba(target);
             return std::vector<Probe>{
                 {"pixel (0, 0)", at(pixels, 8, 0, 0), Rgba{0, 0, 0, 1}, g_half},
                 {"pixel (3, 5)", at(pixels, 8, 3, 5), Rgba{3, 5, 0, 1}, g_half},
                 {"pixel (7, 6)", at(pixels, 8, 7, 6), Rgba{7, 6, 0, 1}, g_half}};
         }},
        {"Pre-transformed quads with no shaders cover the pixels whose centres they contain, "
         "textured by stage 0 times the vertex colour",
         [](TestDevice& a_device) {
             Canvas canvas(a_device);
             IDirect3DSurface9* target = canvas.target(0, 16, 8, D3DFMT_A8R8G8B8);
             a_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 0.0f, 0);
             a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
             a_device->SetTexture(0, canvas.keep(a_device.texture(1, 1, {0xFFFFFFFF})));
             // Centres x = 4..9 lie in [3.6, 9.2), rows 2..5 in [1.5, 5.5).
             canvas.drawScreenQuad(3.6f, 1.5f, 9.2f, 5.5f, 0xFFFFFFFF);
             std::vector<Rgba> pixels = a_device.readRgba(target);
             const Rgba white = argb(0xFFFFFFFF);
             const Rgba none = argb(0x00000000);
             std::vector<Probe> probes = {
                 {"left of the quad", at(pixels, 16, 3, 3), none, g_byte},
                 {"first column", at(pixels, 16, 4, 3), white, g_byte},
                 {"last column", at(pixels, 16, 9, 3), white, g_byte},
                 {"right of the quad", at(pixels, 16, 10, 3), none, g_byte},
                 {"above the quad", at(pixels, 16, 5, 1), none, g_byte},
                 {"first row", at(pixels, 16, 5, 2), white, g_byte},
                 {"last row", at(pixels, 16, 5, 5), white, g_byte},
                 {"below the quad", at(pixels, 16, 5, 6), none, g_byte},
             };
             canvas.drawScreenQuad(0.0f, 0.0f, 2.0f, 1.0f, 0x80808080);
             a_device->SetTexture(0, nullptr);
             canvas.drawScreenQuad(14.0f, 0.0f, 16.0f, 1.0f, 0xFFFF0000);
             pixels = a_device.readRgba(target);
             // D3D9's default stage 0 modulates colour but selects the
             // texture's alpha (D3DTSS_ALPHAOP = D3DTOP_SELECTARG1).
             probes.push_back({"texture times vertex colour, texture alpha", at(pixels, 16, 1, 0),
                               argb(0xFF808080), g_byte});
             probes.push_back({"vertex colour without a texture", at(pixels, 16, 15, 0),
                               argb(0xFFFF0000), g_byte});
             return probes;
         }},
    };
}

bool within(float a_actual, float a_expected, float a_tolerance)
{
    return isnan(a_expected) || fabs(a_actual - a_expected) <= a_tolerance;
}

class Drawing : public LayerSettingTest
{
};

// Every scene draws what D3D9 draws, under every setting of the layer.
TEST_P(Drawing, ScenesMatchDirect3D9)
{
    TestDevice device(64, 64);
    for (const Scene& scene : scenes())
    {
        SCOPED_TRACE(scene.name);
        for (const Probe& probe : scene.run(device))
        {
            SCOPED_TRACE(probe.what);
            EXPECT_TRUE(within(probe.actual.r, probe.expected.r, probe.tolerance) &&
                        within(probe.actual.g, probe.expected.g, probe.tolerance) &&
                        within(probe.actual.b, probe.expected.b, probe.tolerance) &&
                        within(probe.actual.a, probe.expected.a, probe.tolerance))
                << "actual (" << probe.actual.r << ", " << probe.actual.g << ", " << probe.actual.b
                << ", " << probe.actual.a << "), expected (" << probe.expected.r << ", "
                << probe.expected.g << ", " << probe.expected.b << ", " << probe.expected.a << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layer, Drawing, testing::ValuesIn(layerSettings()), layerSettingName);

}  // namespace
