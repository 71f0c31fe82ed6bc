// The texture cursor on the recording device: loaded with every device,
// released with it, and drawn over each frame, leaving the frame's drawing
// state as it found it.
#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "engine/core/EngFile.h"
#include "engine/graphics/EngFontDraw.h"

namespace {

class EngTextureCursorTest : public RecordingDeviceTest {
protected:
    EngWindow *window = nullptr;
    _EngWindowTextureCursor *cursor = nullptr;

    void SetUp() override
    {
        RecordingDeviceTest::SetUp();
        window = program->GetWindow();
        cursor = window->GetTextureCursor_PC();
        ASSERT_TRUE(EngFileDirectoryExists("Data") || EngFileCreateDirectory("Data", 0));
    }

    // The game's cursor, asked for before the device that loads it is made.
    void SetUpCursor()
    {
        ASSERT_TRUE(window->SetupTextureCursor_PC("Data/1600.dat", 2, 2, 20, 20, 1, 0, 0));
        ASSERT_TRUE(window->RecreateDevice());
    }

    void MoveMouse(int x, int y)
    {
        PostMessageA(window->GetWindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PumpAll(window);
        // The cursor coming in is logged; only what follows counts.
        DebugClearLogs();
    }
};

TEST_F(EngTextureCursorTest, EveryDeviceLoadsTheCursorAndReleasesIt)
{
    ASSERT_TRUE(WritePng("Data/1600.dat", 32, 32, [](int, int) { return 0x80FFFFFFu; }));
    const int live = D3D9GetLiveObjectCount();
    SetUpCursor();
    EXPECT_TRUE(cursor->texture.IsCreated());
    EXPECT_EQ(cursor->texture.GetWidth(), 32);
    EXPECT_EQ(cursor->draw_width, 20);
    EXPECT_EQ(cursor->draw_height, 20);
    EXPECT_EQ(D3D9GetLiveObjectCount(), live + 2);
    // The file's own alpha.
    EXPECT_EQ(ReadPixels(&cursor->texture).at(0), 0x80FFFFFFu);

    // A new size makes the device again, and the cursor with it.
    window->SetClientSize(1280, 720);
    EXPECT_TRUE(cursor->texture.IsCreated());
    EXPECT_EQ(cursor->draw_width, 15) << "the aspect factor of 16:9";
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 1);
    EXPECT_EQ(D3D9GetLiveObjectCount(), live + 2);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureCursorTest, ACursorThatDoesNotLoadGivesWayToTheSystemCursor)
{
    std::remove("Data/1600.dat");
    SetUpCursor();
    EXPECT_FALSE(cursor->in_use);
    EXPECT_FALSE(cursor->texture.IsCreated());
    EXPECT_EQ(StoredLines(),
              (std::vector<std::string>{ErrorText("EngTextureDX9::DoLoadFromFile", "File does not exist <Data/1600.dat>"),
                                        ErrorText("EngDeviceDX9::Create", "Could not create texture cursor <Data/1600.dat>")}));
    EXPECT_GE(CursorCount(), 0);
    EXPECT_TRUE(eng_device != nullptr) << "the device stands all the same";
}

TEST_F(EngTextureCursorTest, TheCursorIsDrawnLastOverEachFrame)
{
    ASSERT_TRUE(WritePng("Data/1600.dat", 16, 16, [](int, int) { return 0xFF000000u; }));
    SetUpCursor();
    // Not while the mouse has not come into the window yet.
    StartRecording();
    program->DoRender();
    EXPECT_TRUE(Draws().empty());

    // 400, 300 of 800 x 600 is 320, 240 of the virtual screen.
    MoveMouse(400, 300);
    EXPECT_FLOAT_EQ(cursor->x, 320);
    StartRecording();
    program->DoRender();
    ASSERT_EQ(Draws().size(), 1u);
    const D3D9RecordedDraw &draw = Draws()[0];
    EXPECT_EQ(draw.state.textures[0], cursor->texture.GetTextureDX9()->GetD3DTexture());
    const DWORD *rs = draw.state.render_states;
    EXPECT_EQ(rs[D3DRS_ALPHABLENDENABLE], static_cast<DWORD>(TRUE));
    EXPECT_EQ(rs[D3DRS_SRCBLEND], static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(rs[D3DRS_DESTBLEND], static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(rs[D3DRS_LIGHTING], static_cast<DWORD>(FALSE));
    EXPECT_EQ(rs[D3DRS_ZENABLE], static_cast<DWORD>(D3DZB_FALSE));
    QuadPlace place = PlaceOf3dQuad(ReadVertices(draw));
    EXPECT_NEAR(place.x, 320, 1e-3);
    EXPECT_NEAR(place.y, 240, 1e-3);
    EXPECT_NEAR(place.w, 20, 1e-3);
    EXPECT_NEAR(place.h, 20, 1e-3);
    // In a scene of its own, presented after it, and nothing left changed.
    const std::vector<std::string> &calls = D3D9RecordingGetCalls();
    auto at = [&](const char *call) { return std::find(calls.begin(), calls.end(), call) - calls.begin(); };
    EXPECT_LT(at("BeginScene"), at("DrawPrimitive D3DPT_TRIANGLESTRIP 0 2"));
    EXPECT_LT(at("DrawPrimitive D3DPT_TRIANGLESTRIP 0 2"), at("EndScene"));
    EXPECT_LT(at("EndScene"), at("Present"));
    EXPECT_FALSE(eng_device_dx9->IsRendering());
    EXPECT_FALSE(eng_device->IsPreparedFor2D());
    EXPECT_TRUE(eng_device->IsLightingOn());
    char blending = 1;
    eng_device->GetBlendingState(&blending, nullptr, nullptr);
    EXPECT_EQ(blending, 0);
    EXPECT_TRUE(StoredLines().empty());

    // Inside a frame the program has open, that frame's state is kept.
    StartRecording();
    ASSERT_TRUE(eng_device->BeginRendering());
    eng_device->PrepareFor2D(0);
    eng_device->EnableBlendingType(10);
    EXPECT_EQ(window->DrawTextureCursor_PC(), 1);
    EXPECT_TRUE(eng_device_dx9->IsRendering());
    EXPECT_TRUE(eng_device->IsPreparedFor2D());
    EXPECT_TRUE(eng_device->IsLightingOn());
    int src = 0, dest = 0;
    eng_device->GetBlendingState(nullptr, &src, &dest);
    EXPECT_EQ(src, D3DBLEND_ONE);
    EXPECT_EQ(dest, D3DBLEND_ONE);
    eng_device->RestoreAfter2D();
    eng_device->EndRendering();
    EXPECT_TRUE(StoredLines().empty());

    // Text left prepared is put aside for the cursor and prepared again.
    EngFontPrepareForDrawingDefaultOrientation(0);
    StartRecording();
    program->DoRender();
    EXPECT_EQ(Draws().size(), 1u);
    EXPECT_TRUE(EngFontIsPreparedForDrawing());
    EngFontRestoreAfterDrawing();
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureCursorTest, AFrameDrawnFromAWaitingLoopShowsTheCursorToo)
{
    ASSERT_TRUE(WritePng("Data/1600.dat", 16, 16, [](int, int) { return 0xFF000000u; }));
    SetUpCursor();
    MoveMouse(400, 300);
    StartRecording();
    EngMiscRenderFrameNow(1, 0);
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(Draws()[0].state.textures[0], cursor->texture.GetTextureDX9()->GetD3DTexture());
    const std::vector<std::string> &calls = D3D9RecordingGetCalls();
    auto at = [&](const char *call) { return std::find(calls.begin(), calls.end(), call) - calls.begin(); };
    // Over the program's frame, before the swap.
    EXPECT_LT(at("DrawPrimitive D3DPT_TRIANGLESTRIP 0 2"), at("Present"));
    EXPECT_LT(at("Present"), static_cast<long>(calls.size()));

    // Without render nothing is drawn.
    StartRecording();
    EngMiscRenderFrameNow(0, 0);
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngTextureCursorTest, NoCursorIsDrawnWhenHiddenOutsideOrNotInUse)
{
    ASSERT_TRUE(WritePng("Data/1600.dat", 16, 16, [](int, int) { return 0xFF000000u; }));
    SetUpCursor();
    MoveMouse(10, 10);
    window->HideMouseCursor();
    EXPECT_EQ(window->DrawTextureCursor_PC(), 0);
    window->ShowMouseCursor();
    PostMessageA(window->GetWindowHandle(), WM_MOUSELEAVE, 0, 0);
    PumpAll(window);
    EXPECT_EQ(window->DrawTextureCursor_PC(), 0);
    MoveMouse(10, 10);
    EXPECT_EQ(window->DrawTextureCursor_PC(), 1);
    cursor->in_use = 0;
    EXPECT_EQ(window->DrawTextureCursor_PC(), 0);
}

} // namespace
