// Triangle lists on the recording device: their layouts and defaults, the
// virtual screen mapped onto clip space, colours, refused indices and types,
// and drawing.
#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "engine/graphics/EngTriangleList.h"

namespace {

class EngTriangleListTest : public RecordingDeviceTest {
protected:
    std::vector<ReadVertex> Vertices(const EngTriangleList &list, UINT stride)
    {
        return ReadVertices(list.GetVertexBuffer(), stride);
    }
};

TEST_F(EngTriangleListTest, ListsStartWithTheirDefaultsInEveryLayout)
{
    struct Case {
        _EngTriangleListType type;
        UINT stride;
        const char *created;
        bool tex, colour;
    };
    const Case cases[] = {
        {ETLT_POS_TEX, 20, "CreateVertexBuffer 120 0x102", true, false},
        {ETLT_POS_NORM_TEX, 32, "CreateVertexBuffer 192 0x112", true, false},
        {ETLT_POS_NORM_COL, 28, "CreateVertexBuffer 168 0x52", false, true},
        {ETLT_POS_COL_TEX, 24, "CreateVertexBuffer 144 0x142", true, true},
        {ETLT_POS_NORM_COL_TEX, 36, "CreateVertexBuffer 216 0x152", true, true},
        {ETLT_POS_COL, 16, "CreateVertexBuffer 96 0x42", false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.created);
        StartRecording();
        EngTriangleList list;
        ASSERT_TRUE(list.Create(c.type, nullptr, 2));
        EXPECT_EQ(D3D9RecordingGetCalls().at(0), c.created);
        std::vector<ReadVertex> vertices = Vertices(list, c.stride);
        ASSERT_EQ(vertices.size(), 6u);
        const float u[3] = {0, 0.5f, 1}, v[3] = {0, 1, 0};
        for (size_t i = 0; i < vertices.size(); i++) {
            if (c.tex) {
                EXPECT_EQ(vertices[i].u, u[i % 3]);
                EXPECT_EQ(vertices[i].v, v[i % 3]);
            }
            if (c.colour) {
                EXPECT_EQ(vertices[i].colour, 0xFFFFFFFFu);
            }
        }
    }
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTriangleListTest, WrongTypesCountsAndIndicesAreRefused)
{
    EngTriangleList list;
    for (int type : {1, 8}) {
        EXPECT_FALSE(list.Create(static_cast<_EngTriangleListType>(type), nullptr, 4));
        EXPECT_EQ(StoredLines().back(), ErrorText("EngTriangleList::Create_DX9", "Invalid Type: " + std::to_string(type)));
    }
    EXPECT_FALSE(list.Create(ETLT_POS_COL, nullptr, 0));
    EXPECT_EQ(StoredLines().back(), ErrorText("EngTriangleList::Create_DX9", "Invalid num triangles"));
    EXPECT_FALSE(list.IsCreated());

    ASSERT_TRUE(list.Create(ETLT_POS_COL, nullptr, 2));
    list.SetPositions(2, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(StoredLines().back(), ErrorText("EngTriangleList::SetPositionsP_DX9", "Invalid Triangle 2 (num=2)"));
    list.SetColour(5, 1, 1, 1, 1);
    EXPECT_EQ(StoredLines().back(), ErrorText("EngTriangleList::SetColour_DX9", "Invalid Triangle 5 (num=2)"));

    // Creating again warns and replaces the buffer.
    const int live = D3D9GetLiveObjectCount();
    ASSERT_TRUE(list.Create(ETLT_POS_TEX, nullptr, 3));
    EXPECT_EQ(StoredLines().back(), ErrorText("EngTriangleList::Create_DX9", "Warning - Already created"));
    EXPECT_EQ(D3D9GetLiveObjectCount(), live);
    EXPECT_EQ(list.GetNumTriangles(), 3u);
}

TEST_F(EngTriangleListTest, TheVirtualScreenMapsOntoClipSpace)
{
    EngTriangleList list;
    ASSERT_TRUE(list.Create(ETLT_POS_COL, nullptr, 2));
    list.SetPositions(1, 320, 240, 0, 0, 0, 0.5f, 640, 480, 1);
    std::vector<ReadVertex> v = Vertices(list, 16);
    EXPECT_EQ(v[3].x, 0.0f);
    EXPECT_EQ(v[3].y, 0.0f);
    EXPECT_EQ(v[4].x, -1.0f);
    EXPECT_EQ(v[4].y, 1.0f);
    EXPECT_EQ(v[4].z, 0.5f);
    EXPECT_EQ(v[5].x, 1.0f);
    EXPECT_EQ(v[5].y, -1.0f);
    EXPECT_EQ(v[0].x, 0.0f) << "the other triangle is untouched";

    // Clip-space corners go in as they are.
    const _Vector3d a = {0.25f, 0.5f, 0}, b = {1, 1, 1}, c = {-1, 0, 0};
    list.SetPositionsP_DX9(0, &a, &b, &c);
    list.SetPositionsP_DX9(0, &a, nullptr, &c);
    v = Vertices(list, 16);
    EXPECT_EQ(v[0].x, 0.25f);
    EXPECT_EQ(v[1].z, 1.0f);
    EXPECT_EQ(v[2].x, -1.0f);
}

TEST_F(EngTriangleListTest, ColoursAndTextureCoordinatesGoToTheirTriangle)
{
    EngTriangleList list;
    ASSERT_TRUE(list.Create(ETLT_POS_COL_TEX, nullptr, 2));
    list.SetColour(1, 0.5f, 0, 1, 1);
    list.SetColour(1, 1, 1, 1, -0.1f);
    EXPECT_EQ(StoredLines().back(), ErrorText("EngTriangleList::SetColour_DX9", "Invalid values"));
    list.SetColour(0, 1.004f, 1.004f, 1.004f, 1.004f);
    list.SetTextureCoordinates_DX9(1, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f);
    std::vector<ReadVertex> v = Vertices(list, 24);
    EXPECT_EQ(v[0].colour, 0xFFFFFFFFu) << "just above 1 does not wrap";
    for (int i = 3; i < 6; i++)
        EXPECT_EQ(v[i].colour, 0xFF7F00FFu) << "kept after the refused colour";
    EXPECT_EQ(v[3].u, 0.1f);
    EXPECT_EQ(v[5].v, 0.6f);
    EXPECT_EQ(v[0].u, 0.0f);

    // Layouts without the part are left alone.
    EngTriangleList plain;
    ASSERT_TRUE(plain.Create(ETLT_POS_TEX, nullptr, 1));
    plain.SetColour(0, 1, 0, 0, 1);
    EngTriangleList flat;
    ASSERT_TRUE(flat.Create(ETLT_POS_COL, nullptr, 1));
    flat.SetTextureCoordinates_DX9(0, 9, 9, 9, 9, 9, 9);
    EXPECT_EQ(Vertices(flat, 16)[0].colour, 0xFFFFFFFFu);
}

TEST_F(EngTriangleListTest, DrawingSendsTheWholeList)
{
    int size = 4;
    EngTexture texture;
    ASSERT_TRUE(texture.CreateEmptyTexture(&size, &size, 1));
    EngTriangleList list;
    ASSERT_TRUE(list.Create(ETLT_POS_COL_TEX, &texture, 64));
    StartRecording();
    InScene([&] { list.Draw(); });
    EXPECT_EQ(D3D9RecordingGetCalls(),
              (std::vector<std::string>{"BeginScene", "SetTexture 0 4x4", "SetFVF 0x142", "SetStreamSource 0 buffer 0 24",
                                        "DrawPrimitive D3DPT_TRIANGLELIST 0 64", "SetTexture 0 null", "EndScene"}));
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(Draws()[0].vertex_count, 192u);

    // Gone, or another device kind: nothing is drawn.
    list.Destroy();
    EXPECT_FALSE(list.IsCreated());
    StartRecording();
    InScene([&] { list.Draw(); });
    EXPECT_TRUE(Draws().empty());
    eng_device_type = EDT_NONE;
    EXPECT_FALSE(list.Create(ETLT_POS_COL, nullptr, 1));
    eng_device_type = EDT_DX9;
    EXPECT_TRUE(StoredLines().empty());
}

} // namespace
