// Vertex buffers: created as the device's write-only default-pool buffers,
// locked and filled from the start, bound as stream 0 with their layout.
//
// Untested: a device that refuses a buffer of a valid size (the layer refuses
// only what GL cannot allocate).
#include "render/VertexBuffer.h"

#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/RendererFixture.h"
#include "render/Shader.h"
#include "render/TestPrograms.h"

#include <gtest/gtest.h>

#include <string.h>

#include <vector>

namespace
{

using VertexBufferTest = RendererFixture;

enum class Operation
{
    Lock,
    Unlock,
};

// x, y, z, u, v: a 20-byte vertex of FVF XYZ | TEX1.
struct Vertex
{
    float x, y, z, u, v;
};

}

// Each layout the program uses makes a buffer of vertex size x count bytes,
// write-only in the default pool, that remembers its description.
TEST_F(VertexBufferTest, CreatesTheDescribedBuffer)
{
    const struct
    {
        const char* name;
        uint32_t vertexCount;
        uint32_t vertexSize;
        DWORD fvf;
    } cases[] = {
        {"screen quad", 4, 20, D3DFVF_XYZ | D3DFVF_TEX1},
        {"mesh", 300, 64,
         D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX4 | D3DFVF_TEXCOORDSIZE3(3) |
             D3DFVF_TEXCOORDSIZE3(4)},
        {"billboards", 6 * 5, 20, D3DFVF_XYZ | D3DFVF_TEX1},
        {"loading bar", 4, 24, D3DFVF_XYZRHW | D3DFVF_TEX1},
        {"one byte", 1, 1, D3DFVF_XYZ},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        VertexBuffer* vb = VertexBuffer::create(m_renderer, c.vertexCount, c.vertexSize, c.fvf);
        ASSERT_NE(vb, nullptr);
        EXPECT_EQ(vb->m_vertexCount, c.vertexCount);
        EXPECT_EQ(vb->m_vertexSize, c.vertexSize);
        EXPECT_EQ(vb->m_fvf, c.fvf);
        EXPECT_EQ(vb->m_renderer, m_renderer);
        D3DVERTEXBUFFER_DESC description = {};
        ASSERT_EQ(vb->m_buffer->GetDesc(&description), D3D_OK);
        EXPECT_EQ(description.Size, c.vertexCount * c.vertexSize);
        EXPECT_EQ(description.Usage, DWORD(D3DUSAGE_WRITEONLY));
        EXPECT_EQ(description.Pool, D3DPOOL_DEFAULT);
        EXPECT_EQ(description.FVF, c.fvf);

        vb->bind();
        DWORD fvf = 0;
        device()->GetFVF(&fvf);
        EXPECT_EQ(fvf, c.fvf);
        delete vb;
    }
    // The mesh code of the data model, as a number.
    EXPECT_EQ(DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX4 | D3DFVF_TEXCOORDSIZE3(3) |
                    D3DFVF_TEXCOORDSIZE3(4)),
              0x1400412u);
}

// A length past 32 bits cannot be a buffer: null, not a smaller buffer whose
// length wrapped.
TEST_F(VertexBufferTest, LengthPast32BitsIsRefused)
{
    EXPECT_EQ(VertexBuffer::create(m_renderer, 0x10000, 0x10000, D3DFVF_XYZ), nullptr);
    EXPECT_EQ(VertexBuffer::create(m_renderer, 0x40000001, 4, D3DFVF_XYZ), nullptr);
    EXPECT_TRUE(m_boxes.boxes().empty());
}

// Locks and unlocks answer already examined results; a lock fails with a
// null address for more vertices than the buffer holds and while locked, and
// an unlock fails when nothing is locked.
TEST_F(VertexBufferTest, LockAndUnlockAnswerCheckedResults)
{
    VertexBuffer* vb = VertexBuffer::create(m_renderer, 4, 20, D3DFVF_XYZ | D3DFVF_TEX1);
    ASSERT_NE(vb, nullptr);
    void* stale = &vb;
    const struct
    {
        const char* name;
        Operation operation;
        uint32_t vertexCount;
        bool succeeds;
    } steps[] = {
        // Direct3D 9 answers D3D_OK to an unlock with no lock open.
        {"unlock before any lock", Operation::Unlock, 0, true},
        {"lock one past the end", Operation::Lock, 5, false},
        {"lock a count whose 20-byte vertices wrap 32 bits to 4 bytes", Operation::Lock,
         0x0CCCCCCDu, false},
        {"lock all four", Operation::Lock, 4, true},
        {"lock while locked", Operation::Lock, 1, false},
        {"unlock", Operation::Unlock, 0, true},
        {"unlock again", Operation::Unlock, 0, true},
        {"lock the first one", Operation::Lock, 1, true},
        {"unlock it", Operation::Unlock, 0, true},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.name);
        if (step.operation == Operation::Lock)
        {
            void* pointer = stale;
            ReturnCode result = vb->lock(step.vertexCount, pointer);
            EXPECT_TRUE(result.m_checked);
            EXPECT_EQ(result.m_code == ReturnCode::kSuccess, step.succeeds);
            EXPECT_EQ(pointer != nullptr, step.succeeds);
        }
        else
        {
            ReturnCode result = vb->unlock();
            EXPECT_TRUE(result.m_checked);
            EXPECT_EQ(result.m_code == ReturnCode::kSuccess, step.succeeds);
        }
    }
    delete vb;
}

// Filling fewer vertices than the buffer holds writes only the first ones;
// the rest keep their contents, and a fill of more than the buffer holds
// fails and writes nothing. Read back by drawing the buffer's triangles.
TEST_F(VertexBufferTest, FillWritesOnlyTheFirstVertices)
{
    TestPrograms::write("solid.psh", "ps_3_0\n"
                                     "def c0, 1, 1, 1, 1\n"
                                     "mov oC0, c0\n");
    Shader* solid = Shader::create(ShaderKind::Pixel, m_renderer, "solid.psh");
    ASSERT_NE(solid, nullptr);
    RenderTarget* target = RenderTarget::create(m_renderer, 64, 64, D3DFMT_A8R8G8B8);
    ASSERT_NE(target, nullptr);

    // Triangles that fill one corner quadrant's outer half: top left, bottom
    // right, bottom left, top right (clip space, y up).
    const Vertex topLeft[3] = {{-1, 1, 0, 0, 0}, {0, 1, 0, 0, 0}, {-1, 0, 0, 0, 0}};
    const Vertex bottomRight[3] = {{1, -1, 0, 0, 0}, {0, -1, 0, 0, 0}, {1, 0, 0, 0, 0}};
    const Vertex bottomLeft[3] = {{-1, -1, 0, 0, 0}, {-1, 0, 0, 0, 0}, {0, -1, 0, 0, 0}};
    const Vertex topRight[3] = {{1, 1, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
    Vertex both[6];
    memcpy(both, topLeft, sizeof(topLeft));
    memcpy(both + 3, bottomRight, sizeof(bottomRight));
    Vertex seven[7] = {};
    memcpy(seven, topRight, sizeof(topRight));
    memcpy(seven + 3, topRight, sizeof(topRight));

    VertexBuffer* vb =
        VertexBuffer::create(m_renderer, 6, sizeof(Vertex), D3DFVF_XYZ | D3DFVF_TEX1);
    ASSERT_NE(vb, nullptr);
    ReturnCode all = vb->fill(both, 6);
    EXPECT_TRUE(all.m_checked);
    EXPECT_EQ(all.m_code, ReturnCode::kSuccess);
    ReturnCode first = vb->fill(bottomLeft, 3);
    EXPECT_TRUE(first.m_checked);
    EXPECT_EQ(first.m_code, ReturnCode::kSuccess);
    ReturnCode tooMany = vb->fill(seven, 7);
    EXPECT_TRUE(tooMany.m_checked);
    EXPECT_EQ(tooMany.m_code, ReturnCode::kFailure);

    target->bind(0);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    m_renderer->setShaders(ShaderPair{m_renderer->m_quad->m_quadShaders.vertex, solid});
    m_renderer->m_quad->m_quadShaders.vertex->setFloat("yscale", 1.0f);
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device()->SetRenderState(D3DRS_ZENABLE, FALSE);
    vb->bind();
    device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2);
    target->unbind();

    // One pixel deep inside each corner triangle.
    const std::vector<DWORD> pixels = readArgb(target->m_surface);
    const struct
    {
        const char* name;
        int x, y;
        DWORD color;
    } probes[] = {
        {"top left: overwritten", 4, 4, 0xFF000000},
        {"bottom left: the new first triangle", 4, 59, 0xFFFFFFFF},
        {"bottom right: kept", 59, 59, 0xFFFFFFFF},
        {"top right: the refused fill", 59, 4, 0xFF000000},
    };
    for (const auto& probe : probes)
    {
        SCOPED_TRACE(probe.name);
        EXPECT_EQ(pixels[size_t(probe.y) * 64 + size_t(probe.x)], probe.color);
    }
    delete vb;
    delete target;
    delete solid;
}

// No renderer, no vertices or empty vertices are programming errors.
TEST_F(VertexBufferTest, EmptyOrOwnerlessBufferFailsAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* expected =
        "a_renderer && a_vertexCount != 0 && a_vertexSize != 0, file VertexBuffer\\.cpp";
    EXPECT_DEATH(VertexBuffer::create(nullptr, 4, 20, D3DFVF_XYZ), expected);
    EXPECT_DEATH(VertexBuffer::create(m_renderer, 0, 20, D3DFVF_XYZ), expected);
    EXPECT_DEATH(VertexBuffer::create(m_renderer, 4, 0, D3DFVF_XYZ), expected);
}
