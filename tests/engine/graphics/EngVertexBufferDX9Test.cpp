// Quads in their nine vertex layouts on the recording device: what each
// layout holds after creation, where the setters put the corners, the
// colour rules, the caches that make repeated calls free, and drawing.
#include "tests/engine/graphics/GraphicsTestSupport.h"

namespace {

class EngVertexBufferDX9Test : public RecordingDeviceTest {
protected:
    std::vector<ReadVertex> Corners(const EngVertexBufferDX9 &quad)
    {
        const IDirect3DVertexBuffer9 *buffer = quad.GetVertexBuffer();
        return ReadVertices(buffer, buffer ? buffer->GetLength() / 4 : 0);
    }
};

TEST_F(EngVertexBufferDX9Test, EachTypeMakesItsLayoutWithItsDefaults)
{
    struct Case {
        _EngVertexBufferType type;
        const char *created;
        bool tex, colour, normal;
    };
    const Case cases[] = {
        {EVBT_POS_TEX, "CreateVertexBuffer 80 0x102", true, false, false},
        {EVBT_POS_NORM_TEX, "CreateVertexBuffer 128 0x112", true, false, true},
        {EVBT_POS_COL_TEX, "CreateVertexBuffer 96 0x142", true, true, false},
        {EVBT_POS_NORM_COL_TEX, "CreateVertexBuffer 144 0x152", true, true, true},
        {EVBT_POS_NORM_COL_SPEC_TEX, "CreateVertexBuffer 160 0x1d2", true, true, true},
        {EVBT_POS_COL, "CreateVertexBuffer 64 0x42", false, true, false},
        {EVBT_POS_TEX_2D, "CreateVertexBuffer 96 0x104", true, false, false},
        {EVBT_POS_COL_TEX_2D, "CreateVertexBuffer 112 0x144", true, true, false},
        {EVBT_POS_COL_2D, "CreateVertexBuffer 80 0x44", false, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.created);
        StartRecording();
        EngVertexBufferDX9 quad("quad");
        ASSERT_TRUE(quad.Create(c.type, nullptr));
        ASSERT_FALSE(D3D9RecordingGetCalls().empty());
        EXPECT_EQ(D3D9RecordingGetCalls().front(), c.created);
        std::vector<ReadVertex> corners = Corners(quad);
        ASSERT_EQ(corners.size(), 4u);
        // (0, 0) at the top-left corner (1), (1, 1) at the bottom-right (2).
        const float u[4] = {0, 0, 1, 1}, v[4] = {1, 0, 1, 0};
        for (int i = 0; i < 4; i++) {
            if (c.tex) {
                EXPECT_EQ(corners[i].u, u[i]);
                EXPECT_EQ(corners[i].v, v[i]);
            }
            if (c.colour) {
                EXPECT_EQ(corners[i].colour, 0xFFFFFFFFu);
            }
            if (c.normal) {
                EXPECT_EQ(corners[i].nz, -1.0f);
                EXPECT_EQ(corners[i].nx, 0.0f);
            }
        }
    }
    EXPECT_TRUE(StoredLines().empty());

    EngVertexBufferDX9 quad;
    for (int type : {0, 10}) {
        EXPECT_FALSE(quad.Create(static_cast<_EngVertexBufferType>(type), nullptr));
        EXPECT_EQ(StoredLines().back(),
                  ErrorText("EngVertexBufferDX9::Create", "Invalid Type: " + std::to_string(type)));
    }
    EXPECT_FALSE(quad.IsCreated());
}

TEST_F(EngVertexBufferDX9Test, CornersGoWhereTheLayoutSays)
{
    // Pre-transformed: half a pixel beyond the rectangle on every side.
    EngVertexBufferDX9 screen;
    ASSERT_TRUE(screen.Create(EVBT_POS_TEX_2D, nullptr));
    screen.SetPosition(10, 20, 100, 50);
    std::vector<ReadVertex> c = Corners(screen);
    const float x[4] = {9.5f, 9.5f, 110.5f, 110.5f}, y[4] = {70.5f, 19.5f, 70.5f, 19.5f};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(c[i].x, x[i]);
        EXPECT_EQ(c[i].y, y[i]);
        EXPECT_EQ(c[i].z, 0.0f);
        EXPECT_EQ(c[i].rhw, 1.0f);
    }
    // Ratioed: scaled to the 800 x 600 back buffer.
    screen.SetPositionRatioed(0, 0, 640, 480);
    c = Corners(screen);
    EXPECT_EQ(c[2].x, 800.5f);
    EXPECT_EQ(c[2].y, 600.5f);

    // In space, y grows downwards for the caller and upwards in the world.
    EngVertexBufferDX9 space;
    ASSERT_TRUE(space.Create(EVBT_POS_NORM_TEX, nullptr));
    const _Dimension rect = {1, 2, 3, 4};
    space.SetPositionToDimension(&rect);
    c = Corners(space);
    const float sx[4] = {1, 1, 4, 4}, sy[4] = {-6, -2, -6, -2};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(c[i].x, sx[i]);
        EXPECT_EQ(c[i].y, sy[i]);
    }
    EXPECT_EQ(space.GetPositionMode(), ENG_VB_POSITION_RECT);

    // Axis planes through a, from a to b.
    const _Vector3d a = {1, 2, 3}, b = {4, 5, 6};
    struct Plane {
        char plane;
        float corners[4][3];
    };
    const Plane planes[] = {
        {0, {{4, 2, 3}, {4, 5, 3}, {1, 2, 3}, {1, 5, 3}}},
        {1, {{4, 2, 3}, {4, 2, 6}, {1, 2, 3}, {1, 2, 6}}},
        {2, {{1, 5, 3}, {1, 5, 6}, {1, 2, 3}, {1, 2, 6}}},
    };
    for (const Plane &p : planes) {
        space.SetPositions3dVec3(p.plane, &a, &b);
        c = Corners(space);
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(c[i].x, p.corners[i][0]) << "plane " << int(p.plane) << " corner " << i;
            EXPECT_EQ(c[i].y, p.corners[i][1]) << "plane " << int(p.plane) << " corner " << i;
            EXPECT_EQ(c[i].z, p.corners[i][2]) << "plane " << int(p.plane) << " corner " << i;
        }
        EXPECT_EQ(space.GetPositionMode(), p.plane);
    }
    // Another plane, or a missing corner, changes nothing.
    space.SetPositions3dVec3(3, &a, &b);
    space.SetPositions3dVec3(0, nullptr, &b);
    EXPECT_EQ(space.GetPositionMode(), 2);
    EXPECT_TRUE(StoredLines().empty());

    screen.SetPositions3dVec3(0, &a, &b);
    EXPECT_EQ(StoredLines().back(), ErrorText("EngVertexBufferDX9::SetPositions3dVec3",
                                              "Not supported for 2D Textures (1) (could be upgraded if needed)"));
}

TEST_F(EngVertexBufferDX9Test, ColoursAreClampedBytesAndNegativeChannelsKeepTheColour)
{
    EngVertexBufferDX9 quad;
    ASSERT_TRUE(quad.Create(EVBT_POS_COL_TEX, nullptr));
    struct Case {
        float r, g, b, a;
        D3DCOLOR expected;
    };
    const Case cases[] = {
        {1, 0, 0, 1, 0xFFFF0000},
        // Only the alpha changes: red at half alpha (127.5 truncated).
        {-1, -1, -1, 0.5f, 0x7FFF0000},
        {0.2f, 0.4f, 0.6f, 0.8f, 0xCC336699},
        // Just above 1 stays full rather than wrapping to 0.
        {1.004f, 1.004f, 1.004f, 1.004f, 0xFFFFFFFF},
        {2.0f, 0, 0, 1, 0xFFFF0000},
    };
    for (const Case &c : cases) {
        quad.SetColour(c.r, c.g, c.b, c.a);
        for (const ReadVertex &corner : Corners(quad))
            EXPECT_EQ(corner.colour, c.expected) << std::hex << c.expected;
    }

    // A quad never given a colour keeps white when only the alpha changes.
    EngVertexBufferDX9 fresh;
    ASSERT_TRUE(fresh.Create(EVBT_POS_COL_2D, nullptr));
    fresh.Destroy();
    ASSERT_TRUE(fresh.Create(EVBT_POS_COL_2D, nullptr));
    fresh.SetColour(-1, 0, 0, 0.25f);
    EXPECT_EQ(Corners(fresh)[0].colour, 0x3FFFFFFFu);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngVertexBufferDX9Test, SettersSkipWhatTheyWroteLastButColoursAlwaysWrite)
{
    EngVertexBufferDX9 quad;
    ASSERT_TRUE(quad.Create(EVBT_POS_NORM_COL_TEX, nullptr));
    quad.SetPosition(1, 2, 3, 4);
    quad.SetTextureCoordinates(0.1f, 0.2f, 0.3f, 0.4f);
    quad.SetNormal(0, 1, 0);
    quad.SetColour(1, 1, 1, 1);

    // Every lock fails from here: a setter that writes reports it.
    D3D9RecordingFailCall("Lock", D3DERR_INVALIDCALL, -1);
    quad.SetPosition(1, 2, 3, 4);
    quad.SetTextureCoordinates(0.1f, 0.2f, 0.3f, 0.4f);
    quad.SetNormal(0, 1, 0);
    EXPECT_TRUE(StoredLines().empty());
    quad.SetColour(1, 1, 1, 1);
    quad.SetPosition(5, 2, 3, 4);
    quad.SetTextureCoordinates(0, 0, 1, 1);
    quad.SetNormal(0, 0, 1);
    EXPECT_EQ(StoredLines(),
              (std::vector<std::string>{
                  ErrorText("EngVertexBufferDX9::SetColour", "Lock[EVBT_POS_NORM_COL_TEX]: The method call is invalid."),
                  ErrorText("EngVertexBufferDX9::SetPosition", "Lock[EVBT_POS_NORM_COL_TEX]: The method call is invalid."),
                  ErrorText("EngVertexBufferDX9::SetTextureCoordinates",
                            "Lock[EVBT_POS_NORM_COL_TEX]: The method call is invalid."),
                  ErrorText("EngVertexBufferDX9::SetNormal", "Lock[EVBT_POS_NORM_COL_TEX]: The method call is invalid.")}));
    // A failed write leaves the quad and its caches as they were.
    EXPECT_EQ(quad.GetPositionCache()[0], 1.0f);
    EXPECT_EQ(Corners(quad)[0].x, 1.0f);
    D3D9RecordingReset();

    // Destroy forgets the caches, so the first call after it writes.
    quad.Destroy();
    EXPECT_EQ(quad.GetPositionCache()[0], -1.0f);
    EXPECT_EQ(quad.GetPositionMode(), ENG_VB_POSITION_RECT);
    ASSERT_TRUE(quad.Create(EVBT_POS_NORM_COL_TEX, nullptr));
    quad.SetPosition(1, 2, 3, 4);
    EXPECT_EQ(Corners(quad)[1].y, -2.0f);
}

TEST_F(EngVertexBufferDX9Test, SettersOfPartsALayoutLacksDoNothing)
{
    EngVertexBufferDX9 plain;
    ASSERT_TRUE(plain.Create(EVBT_POS_COL, nullptr));
    D3D9RecordingFailCall("Lock", D3DERR_INVALIDCALL, -1);
    plain.SetTextureCoordinates(0.5f, 0.5f, 1, 1);
    plain.SetNormal(1, 0, 0);
    EngVertexBufferDX9 textured;
    D3D9RecordingReset();
    ASSERT_TRUE(textured.Create(EVBT_POS_TEX, nullptr));
    D3D9RecordingFailCall("Lock", D3DERR_INVALIDCALL, -1);
    textured.SetColour(1, 0, 0, 1);
    EXPECT_TRUE(StoredLines().empty());
    EXPECT_EQ(plain.GetTextureCoordinateCache()[0], -1.0f);

    // Nothing is written to a quad that was never made.
    EngVertexBufferDX9 none("none");
    none.SetPosition(1, 1, 1, 1);
    none.Draw();
    EXPECT_EQ(none.GetPositionCache()[0], -1.0f);
    EXPECT_STREQ(none.GetID(), "none");
}

TEST_F(EngVertexBufferDX9Test, DrawingBindsTheTextureOnlyForTheDraw)
{
    int width = 8, height = 8;
    EngTexture texture;
    ASSERT_TRUE(texture.CreateEmptyTexture(&width, &height, 1));
    EngVertexBufferDX9 quad;
    ASSERT_TRUE(quad.Create(EVBT_POS_COL_TEX, &texture));
    quad.SetPosition(0, 0, 1, 1);
    StartRecording();
    InScene([&] { quad.Draw(); });
    ASSERT_EQ(Draws().size(), 1u);
    const D3D9RecordedDraw &draw = Draws()[0];
    EXPECT_EQ(draw.type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(draw.primitives, 2u);
    EXPECT_EQ(draw.state.fvf, static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    EXPECT_EQ(draw.state.stream_stride, 24u);
    EXPECT_EQ(draw.state.textures[0], texture.GetTextureDX9()->GetD3DTexture());
    EXPECT_EQ(D3D9RecordingGetCalls(),
              (std::vector<std::string>{"BeginScene", "SetTexture 0 8x8", "SetFVF 0x142",
                                        "SetStreamSource 0 buffer 0 24", "DrawPrimitive D3DPT_TRIANGLESTRIP 0 2",
                                        "SetTexture 0 null", "EndScene"}));

    // A texture with nothing made yet gives none, and says so.
    EngTexture empty;
    EngVertexBufferDX9 bare;
    EXPECT_TRUE(bare.Create(EVBT_POS_TEX, &empty));
    EXPECT_EQ(StoredLines().back(), ErrorText("EngVertexBufferDX9::Create", "Could not get dx texture."));
    StartRecording();
    InScene([&] { bare.Draw(); });
    EXPECT_EQ(Draws().at(0).state.textures[0], nullptr);
}

TEST_F(EngVertexBufferDX9Test, MakingAgainReleasesTheOldBuffer)
{
    const int live = D3D9GetLiveObjectCount();
    EngVertexBufferDX9 quad;
    ASSERT_TRUE(quad.Create(EVBT_POS_TEX, nullptr));
    ASSERT_TRUE(quad.Create(EVBT_POS_COL, nullptr));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{ErrorText("EngVertexBufferDX9::Create", "Warning - Already created")}));
    EXPECT_EQ(D3D9GetLiveObjectCount(), live + 1);
    EXPECT_EQ(quad.GetType(), EVBT_POS_COL);

    // Released also while the facade is away, as during a change of device.
    EngDevice *facade = eng_device;
    eng_device = nullptr;
    quad.Destroy();
    eng_device = facade;
    EXPECT_EQ(D3D9GetLiveObjectCount(), live);

    D3D9RecordingFailCall("CreateVertexBuffer", E_OUTOFMEMORY);
    EXPECT_FALSE(quad.Create(EVBT_POS_TEX, nullptr));
    EXPECT_FALSE(quad.IsCreated());
    EXPECT_EQ(StoredLines().back(), ErrorText("EngVertexBufferDX9::Create", "CreateVertexBuffer: Direct3D could not allocate sufficient memory to complete the call."));
}

TEST(EngVertexBufferDX9Ids, IdsAreOwnedCopies)
{
    char name[] = "first";
    EngVertexBufferDX9 quad(name);
    name[0] = 'X';
    EXPECT_STREQ(quad.GetID(), "first");
    quad.SetID("");
    EXPECT_EQ(quad.GetID(), nullptr);
    quad.SetID("second");
    EXPECT_STREQ(quad.GetID(), "second");
    // Without a device nothing is made.
    EXPECT_FALSE(quad.Create(EVBT_POS_TEX, nullptr));
}

} // namespace
