// Screen dimming on the recording device: one black quad over the whole back
// buffer with the alpha clamped, drawn with ordinary alpha blending that is
// put back afterwards, and freed with the device.
#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "engine/graphics/EngDimDraw.h"

namespace {

class EngDimDrawTest : public RecordingDeviceTest {};

TEST_F(EngDimDrawTest, ABlackQuadOverTheWholeScreenWithTheAlphaClamped)
{
    struct Case {
        float alpha;
        D3DCOLOR colour;
    };
    const Case cases[] = {{0.5f, 0x7F000000u}, {2.0f, 0xFF000000u}, {-1.0f, 0x00000000u}, {1.0f, 0xFF000000u}};
    for (const Case &c : cases) {
        StartRecording();
        InScene([&] { EngDimDraw(c.alpha); });
        ASSERT_EQ(Draws().size(), 1u) << c.alpha;
        const D3D9RecordedDraw &draw = Draws()[0];
        EXPECT_EQ(draw.state.fvf, static_cast<DWORD>(D3DFVF_XYZRHW | D3DFVF_DIFFUSE));
        EXPECT_EQ(draw.state.textures[0], nullptr);
        EXPECT_EQ(draw.state.render_states[D3DRS_ALPHABLENDENABLE], static_cast<DWORD>(TRUE));
        EXPECT_EQ(draw.state.render_states[D3DRS_SRCBLEND], static_cast<DWORD>(D3DBLEND_SRCALPHA));
        EXPECT_EQ(draw.state.render_states[D3DRS_DESTBLEND], static_cast<DWORD>(D3DBLEND_INVSRCALPHA));
        std::vector<ReadVertex> corners = ReadVertices(draw);
        ASSERT_EQ(corners.size(), 4u);
        for (const ReadVertex &corner : corners)
            EXPECT_EQ(corner.colour, c.colour) << c.alpha;
        // The 800 x 600 back buffer, reached half a pixel beyond.
        EXPECT_EQ(corners[1].x, -0.5f);
        EXPECT_EQ(corners[1].y, -0.5f);
        EXPECT_EQ(corners[2].x, 800.5f);
        EXPECT_EQ(corners[2].y, 600.5f);
    }
    // Blending is back as it was: off.
    char on = 1;
    eng_device->GetBlendingState(&on, nullptr, nullptr);
    EXPECT_EQ(on, 0);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngDimDrawTest, TheQuadIsMadeOnceAndGoesWithTheDevice)
{
    const int live = D3D9GetLiveObjectCount();
    InScene([] {
        EngDimDraw(0.5f);
        EngDimDraw(0.25f);
    });
    EXPECT_EQ(D3D9GetLiveObjectCount(), live + 1);
    EngDimDestroyVertexBuffer();
    EXPECT_EQ(D3D9GetLiveObjectCount(), live);

    // Made again at the next draw, and released when the device goes.
    InScene([] { EngDimDraw(0.5f); });
    EXPECT_EQ(D3D9GetLiveObjectCount(), live + 1);
    program->GetWindow()->RecreateDevice();
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 1);
    EXPECT_TRUE(StoredLines().empty()) << "no graphics object kept the old device";
}

TEST_F(EngDimDrawTest, NothingIsDrawnWithoutADeviceOrTheDirect3DKind)
{
    EngDevice *facade = eng_device;
    eng_device = nullptr;
    StartRecording();
    EngDimDraw(1.0f);
    eng_device = facade;
    InScene([] {
        eng_device_type = EDT_NONE;
        EngDimDraw(1.0f);
        eng_device_type = EDT_DX9;
    });
    EXPECT_TRUE(Draws().empty());

    // Inside another caller's saved blending the dimming cannot save its own.
    ASSERT_TRUE(eng_device->SaveOrRestoreBlendingState(1));
    InScene([] { EngDimDraw(1.0f); });
    EXPECT_EQ(Draws().size(), 1u);
    EXPECT_FALSE(StoredLines().empty());
}

} // namespace
