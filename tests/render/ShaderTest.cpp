// Shaders: compiled programs read by name, refused by the device when of the
// wrong kind, and constants set by name through their own tables into the
// device's registers of their kind.
#include "render/Shader.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "archive/FileSystem.h"
#include "render/Renderer.h"
#include "render/TestPrograms.h"
#include "support/TemporaryFolder.h"
#include "support/LaunchSettings.h"

#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace
{

const char kVertexSource[] = "vs_3_0\n"
                             "const float yscale : c0\n"
                             "dcl_position v0\n"
                             "dcl_position o0\n"
                             "mul o0, v0, c0.x\n";

const char kPixelSource[] = "ps_3_0\n"
                            "const float4 color : c0\n"
                            "mov oC0, c0\n";

const char kBareSource[] = "ps_3_0\n"
                           "noctab\n"
                           "def c0, 1, 0, 0, 1\n"
                           "mov oC0, c0\n";

LRESULT CALLBACK plainProcedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

// A device for a hidden window, and the programs as loose files of the
// working directory (no archive is loaded).
class ShaderTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = plainProcedure;
        windowClass.lpszClassName = "shadertest";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, "shadertest", "", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64, nullptr,
                                   nullptr, nullptr, nullptr);
        LaunchSettings::launchWindowed();
        TestPrograms::writeQuadPrograms();
        m_renderer = Renderer::create();
        ReturnCode result = m_renderer->init(64, 64, m_window);
        ASSERT_TRUE(result.succeeded());
        TestPrograms::write("test.vsh", kVertexSource);
        TestPrograms::write("test.psh", kPixelSource);
        TestPrograms::write("bare.psh", kBareSource);
    }

    void TearDown() override
    {
        delete m_renderer;
        DestroyWindow(m_window);
        LaunchSettings::reset();
    }

    D3DXVECTOR4 pixelRegister(UINT a_index)
    {
        D3DXVECTOR4 value(-7.0f, -7.0f, -7.0f, -7.0f);
        m_renderer->device()->GetPixelShaderConstantF(a_index, value, 1);
        return value;
    }

    D3DXVECTOR4 vertexRegister(UINT a_index)
    {
        D3DXVECTOR4 value(-7.0f, -7.0f, -7.0f, -7.0f);
        m_renderer->device()->GetVertexShaderConstantF(a_index, value, 1);
        return value;
    }

    TemporaryFolder m_folder{true};
    HWND m_window = nullptr;
    Renderer* m_renderer = nullptr;
    MessageBoxRecorder m_boxes;
};

}

// Each load is a shader of its own with its own table; the kind is the
// caller's, and byte code of the other kind is refused without a message.
TEST_F(ShaderTest, LoadsByKind)
{
    Shader* first = Shader::create(ShaderKind::Vertex, m_renderer, "test.vsh");
    Shader* second = Shader::create(ShaderKind::Vertex, m_renderer, "test.vsh");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(first->m_constantTable, second->m_constantTable);
    EXPECT_NE(first->m_d3dVertexShader, nullptr);
    EXPECT_EQ(first->m_d3dPixelShader, nullptr);

    EXPECT_EQ(Shader::create(ShaderKind::Pixel, m_renderer, "test.vsh"), nullptr);
    EXPECT_EQ(Shader::create(ShaderKind::Vertex, m_renderer, "test.psh"), nullptr);
    EXPECT_TRUE(m_boxes.boxes().empty());

    EXPECT_EQ(Shader::create(ShaderKind::Pixel, m_renderer, "missing.psh"), nullptr);
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, "missing.psh: File not found.");
    delete first;
    delete second;
}

// A constant goes to its register in the registers of the shader's kind; a
// name the table lacks changes nothing.
TEST_F(ShaderTest, ConstantsReachTheirRegisters)
{
    Shader* vertex = Shader::create(ShaderKind::Vertex, m_renderer, "test.vsh");
    Shader* pixel = Shader::create(ShaderKind::Pixel, m_renderer, "test.psh");
    ASSERT_TRUE(vertex && pixel);
    m_renderer->setShaders(ShaderPair{vertex, pixel});
    EXPECT_EQ(m_renderer->m_vertexShader, vertex);
    EXPECT_EQ(m_renderer->m_pixelShader, pixel);

    pixel->setVector("color", D3DXVECTOR4(0.25f, 0.5f, 0.75f, 1.0f));
    EXPECT_EQ(pixelRegister(0), D3DXVECTOR4(0.25f, 0.5f, 0.75f, 1.0f));

    pixel->setFloat("yscale", 9.0f);  // not this program's
    EXPECT_EQ(pixelRegister(0), D3DXVECTOR4(0.25f, 0.5f, 0.75f, 1.0f));

    vertex->setFloat("yscale", 0.75f);
    EXPECT_EQ(vertexRegister(0).x, 0.75f);
    EXPECT_EQ(pixelRegister(0), D3DXVECTOR4(0.25f, 0.5f, 0.75f, 1.0f))
        << "vertex constants stay in vertex registers";
    delete vertex;
    delete pixel;
}

// Byte code that starts off a 4-byte boundary in the archive loads like any other.
TEST_F(ShaderTest, UnalignedArchiveEntryLoads)
{
    // Entry "a" is one byte, so "t.vsh" starts at offset 1 of the block.
    std::vector<uint8_t> archive = {'Q', 'O', 'R', 'F', 'S', '1', 0, 0, 0, 0, 2, 0, 0, 0};
    FILE* code = fopen("test.vsh", "rb");
    std::vector<uint8_t> bytes;
    for (int c; (c = fgetc(code)) != EOF;)
        bytes.push_back(static_cast<uint8_t>(c));
    fclose(code);
    const auto put32 = [&](uint32_t a_value) {
        for (int shift = 0; shift < 32; shift += 8)
            archive.push_back(static_cast<uint8_t>(a_value >> shift));
    };
    archive.insert(archive.end(), {'a', 0});
    put32(0);
    put32(1);
    archive.insert(archive.end(), {'t', '.', 'v', 's', 'h', 0});
    put32(1);
    put32(static_cast<uint32_t>(bytes.size()));
    archive.push_back('x');
    archive.insert(archive.end(), bytes.begin(), bytes.end());
    FILE* out = fopen("tarvo.fs", "wb");
    fwrite(archive.data(), 1, archive.size(), out);
    fclose(out);

    ReturnCode opened = FileSystem::open();
    ASSERT_TRUE(opened.succeeded());
    Shader* shader = Shader::create(ShaderKind::Vertex, m_renderer, "t.vsh");
    FileSystem::close();
    ASSERT_NE(shader, nullptr);
    EXPECT_NE(shader->m_constantTable, nullptr);
    delete shader;
}

// A program without a constant table loads, and the first constant set on
// it fails "m_constantTable".
TEST_F(ShaderTest, ProgramWithoutTableFailsOnFirstConstant)
{
    // The child runs the test again from the start rather than forking a
    // process with a live GL context.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Shader* bare = Shader::create(ShaderKind::Pixel, m_renderer, "bare.psh");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->m_constantTable, nullptr);
    EXPECT_DEATH(bare->setFloat("color", 1.0f), "m_constantTable, file Shader\\.cpp");
    delete bare;
}
