// The device object's render state on the recording device: what a new
// device gets, what setters send (and skip), and the values they compute.
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "platform/d3d9/D3DX9.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

std::string Error(const char *where, const std::string &text)
{
    return std::string(" <ERROR>  ( ") + where + " )    " + text;
}

int Count(const std::string &line)
{
    const std::vector<std::string> &calls = D3D9RecordingGetCalls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), line));
}

DWORD RenderState(D3DRENDERSTATETYPE state)
{
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(eng_d3d_device->GetRenderState(state, &value), S_OK);
    return value;
}

D3DMATRIX Transform(D3DTRANSFORMSTATETYPE state)
{
    D3DMATRIX matrix = {};
    EXPECT_EQ(eng_d3d_device->GetTransform(state, &matrix), S_OK);
    return matrix;
}

testing::AssertionResult SameMatrix(const D3DMATRIX &expected, const D3DMATRIX &actual)
{
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++)
            if (std::fabs(expected.m[i][j] - actual.m[i][j]) > 1e-5f)
                return testing::AssertionFailure() << "element " << i << "," << j << ": " << actual.m[i][j]
                                                   << " instead of " << expected.m[i][j];
    return testing::AssertionSuccess();
}

D3DMATRIX Identity()
{
    D3DMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return identity;
}

D3DMATRIX Translation(float x, float y, float z)
{
    D3DMATRIX matrix;
    D3DXMatrixTranslation(&matrix, x, y, z);
    return matrix;
}

class EngDeviceDX9RenderStateTest : public RecordingProgramTest {
protected:
    EngDeviceDX9RenderStateTest() { parms = WindowParms(1, 800, 600); }

    void Open()
    {
        ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        D3D9RecordingReset();
        DebugClearLogs();
    }

    D3DVIEWPORT9 DeviceViewport()
    {
        D3DVIEWPORT9 viewport = {};
        EXPECT_EQ(eng_d3d_device->GetViewport(&viewport), S_OK);
        return viewport;
    }
};

TEST_F(EngDeviceDX9RenderStateTest, ANewDeviceStartsFromDirect3DsDefaultsAndTheEnginesOwn)
{
    Open();
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), static_cast<DWORD>(TRUE));
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(FALSE));
    EXPECT_EQ(RenderState(D3DRS_SPECULARENABLE), static_cast<DWORD>(FALSE));
    EXPECT_EQ(RenderState(D3DRS_LOCALVIEWER), static_cast<DWORD>(TRUE));
    DWORD value = 0;
    eng_d3d_device->GetTextureStageState(0, D3DTSS_ALPHAOP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_BLENDTEXTUREALPHA));
    eng_d3d_device->GetTextureStageState(1, D3DTSS_ALPHAOP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_DISABLE));
    eng_d3d_device->GetSamplerState(0, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_LINEAR));
    D3DMATERIAL9 material = {};
    eng_d3d_device->GetMaterial(&material);
    EXPECT_EQ(material.Diffuse.r, 1.0f);
    EXPECT_EQ(material.Ambient.a, 1.0f);
    EXPECT_EQ(material.Emissive.r, 0.0f);
    EXPECT_TRUE(SameMatrix(Identity(), Transform(D3DTS_VIEW)));

    // The perspective of a quarter turn, aspect 1, planes 0.01 and 100.
    D3DMATRIX projection = Transform(D3DTS_PROJECTION);
    const float s = 1.0f / std::tan(0.7853982f / 2);
    const float q = 100.0f / (0.01f - 100.0f);
    EXPECT_NEAR(projection.m[0][0], s, 1e-5);
    EXPECT_NEAR(projection.m[1][1], s, 1e-5);
    EXPECT_NEAR(projection.m[2][2], q, 1e-5);
    EXPECT_EQ(projection.m[2][3], -1.0f);
    EXPECT_NEAR(projection.m[3][2], 0.01f * q, 1e-7);
    EXPECT_EQ(projection.m[3][3], 0.0f);

    EXPECT_TRUE(eng_device->IsLightingOn());
    EXPECT_FALSE(eng_device->AreTwoSidedPolygonsShown());
    EXPECT_TRUE(eng_device->IsViewportFullScreen());
    char on = 1;
    int src = 0, dest = 0;
    EXPECT_FALSE(eng_device->GetBlendingState(&on, &src, &dest));
    EXPECT_EQ(src, -1);
    EXPECT_EQ(dest, -1);
}

TEST_F(EngDeviceDX9RenderStateTest, ANewDeviceGetsTheRememberedStateBack)
{
    Open();
    eng_device->EnableBlendingType(3);
    eng_device->ModulateTextureAlphaWithColourAlpha();
    eng_device_dx9->SetTextureQuality(0);
    eng_device->EnableZBuffer(0);
    eng_device->TurnOnCrop(10, 10, 100, 50);
    EngMatrix moved;
    moved.SetTranslation(5, 6, 7);
    eng_device->SetTransformMatrix(&moved);

    // The same object makes a new device.
    ASSERT_TRUE(eng_device_dx9->Create(1, 800, 600, 32, 0));
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(TRUE));
    EXPECT_EQ(RenderState(D3DRS_SRCBLEND), static_cast<DWORD>(D3DBLEND_ONE));
    EXPECT_EQ(RenderState(D3DRS_DESTBLEND), static_cast<DWORD>(D3DBLEND_SRCALPHA));
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_FALSE));
    DWORD value = 0;
    eng_d3d_device->GetTextureStageState(0, D3DTSS_ALPHAOP, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_MODULATE));
    eng_d3d_device->GetSamplerState(0, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT));
    // The world matrix and the crop are remembered but not sent again.
    EXPECT_TRUE(SameMatrix(Identity(), Transform(D3DTS_WORLD)));
    EngMatrix world;
    EXPECT_EQ(eng_device->GetTransformMatrix(&world)->m_elements[12], 5.0f);
    EXPECT_EQ(RenderState(D3DRS_SCISSORTESTENABLE), static_cast<DWORD>(FALSE));
    EXPECT_TRUE(eng_device->IsCropOn());
    EXPECT_EQ(DeviceLifeCalls(), (std::vector<std::string>{"Release device", "CreateDevice 800x600 windowed"}));
}

TEST_F(EngDeviceDX9RenderStateTest, SettersSendOnlyWhatChanges)
{
    Open();
    eng_device->EnableBlending(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    eng_device->EnableBlending(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(D3D9RecordingGetCalls(),
              (std::vector<std::string>{"SetRenderState D3DRS_SRCBLEND 5", "SetRenderState D3DRS_DESTBLEND 6",
                                        "SetRenderState D3DRS_ALPHABLENDENABLE 1"}));
    D3D9RecordingReset();
    eng_device->EnableBlending(D3DBLEND_SRCALPHA, D3DBLEND_ONE);
    eng_device->DisableBlending();
    eng_device->DisableBlending();
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"SetRenderState D3DRS_DESTBLEND 2",
                                                                  "SetRenderState D3DRS_ALPHABLENDENABLE 0"}));

    D3D9RecordingReset();
    eng_device->TurnOnLighting();
    EXPECT_TRUE(eng_device->TurnOffLightingIfOn());
    EXPECT_FALSE(eng_device->TurnOffLightingIfOn());
    eng_device->TurnOffLighting();
    EXPECT_EQ(D3D9RecordingGetCalls(), std::vector<std::string>{"SetRenderState D3DRS_LIGHTING 0"});
    EXPECT_FALSE(eng_device->IsLightingOn());

    // The depth test: suspended and restored only while wanted.
    D3D9RecordingReset();
    EXPECT_TRUE(eng_device->SuspendZBufferIfOn());
    EXPECT_FALSE(eng_device->SuspendZBufferIfOn());
    eng_device->RestoreZBuffer();
    eng_device->RestoreZBuffer();
    eng_device->EnableZBuffer(0);
    EXPECT_FALSE(eng_device->SuspendZBufferIfOn());
    eng_device->RestoreZBuffer();
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"SetRenderState D3DRS_ZENABLE 0",
                                                                  "SetRenderState D3DRS_ZENABLE 1",
                                                                  "SetRenderState D3DRS_ZENABLE 0"}));
}

TEST_F(EngDeviceDX9RenderStateTest, BlendingTypesFollowTheirTable)
{
    Open();
    const int table[19][2] = {{5, 6}, {5, 5},  {5, 9}, {2, 5},  {3, 5}, {3, 4}, {4, 4}, {2, 6}, {5, 2}, {3, 6},
                              {2, 2}, {6, 2}, {4, 2}, {3, 2}, {1, 4}, {6, 5}, {3, 2}, {2, 4}, {9, 2}};
    for (int type = 0; type < 19; type++) {
        eng_device->EnableBlendingType(type);
        int src = 0, dest = 0;
        EXPECT_TRUE(eng_device->GetBlendingState(nullptr, &src, &dest));
        EXPECT_EQ(src, table[type][0]) << "type " << type;
        EXPECT_EQ(dest, table[type][1]) << "type " << type;
    }
    // Types 13 and 16 are the same pair: nothing is sent for the second.
    eng_device->EnableBlendingType(13);
    D3D9RecordingReset();
    eng_device->EnableBlendingType(16);
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());

    for (int type : {19, -1}) {
        eng_device->EnableBlendingType(type);
        EXPECT_TRUE(WasStored(Error("EngDeviceDX9::EnableBlendingType", "Invalid Blending Type " + std::to_string(type))));
    }
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());
    int src = 0;
    eng_device->GetBlendingState(nullptr, &src, nullptr);
    EXPECT_EQ(src, D3DBLEND_SRCCOLOR);

    // The engine's blend-factor numbers.
    const int factors[11] = {1, 2, 3, 4, 5, 6, 10, 8, 9, 7, 11};
    EXPECT_TRUE(std::equal(factors, factors + 11, eng_device_blend_factors));
}

TEST_F(EngDeviceDX9RenderStateTest, TheSavedBlendingStateHasOneLevel)
{
    Open();
    eng_device->EnableBlendingType(0);
    EXPECT_TRUE(eng_device->SaveOrRestoreBlendingState(1));
    eng_device->DisableBlending();
    EXPECT_FALSE(eng_device->SaveOrRestoreBlendingState(1));
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::SaveOrRestoreBlendingState", "Already saved")));
    eng_device->EnableBlendingType(10);
    EXPECT_TRUE(eng_device->SaveOrRestoreBlendingState(0));
    char on = 0;
    int src = 0, dest = 0;
    eng_device->GetBlendingState(&on, &src, &dest);
    EXPECT_TRUE(on);
    EXPECT_EQ(src, D3DBLEND_SRCALPHA);
    EXPECT_EQ(dest, D3DBLEND_INVSRCALPHA);
    EXPECT_FALSE(eng_device->SaveOrRestoreBlendingState(0));
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::SaveOrRestoreBlendingState", "Not saved")));

    // A saved "off" switches blending off again.
    eng_device->DisableBlending();
    EXPECT_TRUE(eng_device->SaveOrRestoreBlendingState(1));
    eng_device->EnableBlendingType(0);
    EXPECT_TRUE(eng_device->SaveOrRestoreBlendingState(0));
    EXPECT_EQ(RenderState(D3DRS_ALPHABLENDENABLE), static_cast<DWORD>(FALSE));
}

TEST_F(EngDeviceDX9RenderStateTest, ViewportsInPixelsAndInVirtualUnits)
{
    parms = WindowParms(1, 1024, 768);
    Open();
    struct Case {
        const char *name;
        int x, y, w, h;
        DWORD vx, vy, vw, vh;
    };
    // 1.6 pixels a unit.
    const Case cases[] = {
        {"a quarter", 0, 0, 320, 240, 0, 0, 512, 384},
        {"rounded to the nearest", 1, 1, 3, 3, 2, 2, 5, 5},
    };
    for (const Case &c : cases) {
        eng_device->SetViewportToSizeRatioed(c.x, c.y, c.w, c.h);
        D3DVIEWPORT9 viewport = DeviceViewport();
        EXPECT_EQ(viewport.X, c.vx) << c.name;
        EXPECT_EQ(viewport.Y, c.vy) << c.name;
        EXPECT_EQ(viewport.Width, c.vw) << c.name;
        EXPECT_EQ(viewport.Height, c.vh) << c.name;
    }
    // 0.3125 x 1.6 = 0.5 and 1.5625 x 1.6 = 2.5 are exact halves: toward zero.
    _Dimension halves = {0.3125f, 1.5625f, 100.0f, 100.0f};
    eng_device->SetViewportToDimensionRatioed(&halves);
    EXPECT_EQ(DeviceViewport().X, 0u);
    EXPECT_EQ(DeviceViewport().Y, 2u);
    EXPECT_FALSE(eng_device->IsViewportFullScreen());

    // Pixels are truncated.
    _Dimension pixels = {10.9f, 20.2f, 300.7f, 200.99f};
    eng_device->SetViewportToDimension(&pixels);
    D3DVIEWPORT9 viewport = DeviceViewport();
    EXPECT_EQ(viewport.X, 10u);
    EXPECT_EQ(viewport.Y, 20u);
    EXPECT_EQ(viewport.Width, 300u);
    EXPECT_EQ(viewport.Height, 200u);
    D3DVIEWPORT9 remembered;
    ASSERT_EQ(eng_device->GetViewport(&remembered), &remembered);
    EXPECT_EQ(remembered.Width, 300u);
    EXPECT_EQ(remembered.MaxZ, 1.0f);

    // A whole record: its depth range reaches the device, the engine keeps 0..1.
    D3DVIEWPORT9 record = {5, 6, 7, 8, 0.25f, 0.75f};
    eng_device->SetViewportToViewportStruct(&record);
    EXPECT_EQ(DeviceViewport().MinZ, 0.25f);
    eng_device->GetViewport(&remembered);
    EXPECT_EQ(remembered.X, 5u);
    EXPECT_EQ(remembered.Height, 8u);
    EXPECT_EQ(remembered.MinZ, 0.0f);

    // Null is the whole client area.
    eng_device->SetViewportToDimensionRatioed(nullptr);
    EXPECT_TRUE(eng_device->IsViewportFullScreen());
    EXPECT_EQ(DeviceViewport().Width, 1024u);
    EXPECT_EQ(DeviceViewport().Height, 768u);

    // One reaching past the back buffer is cut to it; one that starts past
    // it is refused by the device and reported.
    eng_device->SetViewportToSizeRatioed(600, 0, 100, 100);
    EXPECT_EQ(DeviceViewport().X, 960u);
    EXPECT_EQ(DeviceViewport().Width, 64u);
    EXPECT_TRUE(StoredLines().empty());
    eng_device->SetViewportToSizeRatioed(700, 0, 100, 100);
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::SetViewportToSize", "SetViewport: The method call is invalid.")));
}

// The frames drawn after the user made the window larger and before the
// resize settled: the client area has its new size, the back buffer its
// old one. The play's viewports stay on the back buffer and nothing is
// reported; once the resize is handled they fill the new one.
TEST_F(EngDeviceDX9RenderStateTest, FramesDrawnWhileAResizeSettlesKeepTheirViewportsOnTheBackBuffer)
{
    parms = WindowParms(1, 1024, 768);
    Open();
    EngWindow *window = program->GetWindow();
    // A frame's viewports: the play's board, then the whole screen (the
    // board's left edge and size, the screen's size).
    auto frame = [&] {
        eng_device->SetViewportToSizeRatioed(100, 0, 540, 450);
        const D3DVIEWPORT9 board = DeviceViewport();
        eng_device->SetViewportFullScreen();
        const D3DVIEWPORT9 whole = DeviceViewport();
        return std::vector<DWORD>{board.X, board.Width, board.Height, whole.Width, whole.Height};
    };
    PlatformHeadlessResizeWindow(window->GetWindowHandle(), 1280, 960);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(frame(), (std::vector<DWORD>{160, 864, 768, 1024, 768}));
    EXPECT_EQ(StoredLines(), std::vector<std::string>{});

    PumpAll(window);
    EXPECT_EQ(frame(), (std::vector<DWORD>{200, 1080, 900, 1280, 960}));
}

TEST_F(EngDeviceDX9RenderStateTest, TheClearColourIsTruncatedPerChannel)
{
    Open();
    eng_device->SetClearColour(1.0f, 0.5f, 0.0f);
    eng_device->ClearBackBufferAndZBuffer();
    eng_device->ClearBackBuffer();
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"Clear 0 3 ffff7f00 1 0", "Clear 0 1 ffff7f00 1 0"}));
}

TEST_F(EngDeviceDX9RenderStateTest, TwoDimensionalDrawingIsPreparedAndUndoneOnce)
{
    Open();
    EngMatrix moved;
    moved.SetTranslation(1, 2, 3);
    eng_device->SetTransformMatrix(&moved);
    eng_device_dx9->SetViewMatrix(&moved);
    D3DMATRIX projection = Transform(D3DTS_PROJECTION);

    eng_device->PrepareFor2D(1);
    EXPECT_TRUE(eng_device->IsPreparedFor2D());
    EXPECT_TRUE(SameMatrix(Identity(), Transform(D3DTS_WORLD)));
    EXPECT_TRUE(SameMatrix(Identity(), Transform(D3DTS_VIEW)));
    EXPECT_TRUE(SameMatrix(Identity(), Transform(D3DTS_PROJECTION)));
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_FALSE));

    D3D9RecordingReset();
    eng_device->PrepareFor2D(1);
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::PrepareFor2D", "Already Called")));
    EXPECT_FALSE(eng_device->PrepareFor2DIfNeeded(0));
    EXPECT_FALSE(eng_device->PrepareFor2DIfNeededAlt(0));
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());

    eng_device->RestoreAfter2D();
    EXPECT_FALSE(eng_device->IsPreparedFor2D());
    EXPECT_TRUE(SameMatrix(Translation(1, 2, 3), Transform(D3DTS_WORLD)));
    EXPECT_TRUE(SameMatrix(Translation(1, 2, 3), Transform(D3DTS_VIEW)));
    // The projection comes back as the engine last set it: the identity, the
    // perspective of a new device having been sent to the device only.
    EXPECT_FALSE(SameMatrix(projection, Transform(D3DTS_PROJECTION)));
    EXPECT_TRUE(SameMatrix(Identity(), Transform(D3DTS_PROJECTION)));
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), static_cast<DWORD>(TRUE));
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));

    eng_device->RestoreAfter2D();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::RestoreAfter2D", "Not prepared")));
    EXPECT_TRUE(eng_device->PrepareFor2DIfNeeded(0));
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), static_cast<DWORD>(TRUE));
    eng_device->RestoreAfter2D();
}

TEST_F(EngDeviceDX9RenderStateTest, MatrixStacksHoldTenEntries)
{
    Open();
    for (int i = 0; i < 11; i++) {
        EngMatrix matrix;
        matrix.SetTranslation(static_cast<float>(i), 0, 0);
        eng_device->SetTransformMatrix(&matrix);
        eng_device_dx9->PushAllMatrices();
    }
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::PushAllMatrices", "Too many pushes")));
    for (int i = 9; i >= 0; i--) {
        eng_device_dx9->PopAllMatrices();
        EXPECT_TRUE(SameMatrix(Translation(static_cast<float>(i), 0, 0), Transform(D3DTS_WORLD))) << i;
    }
    eng_device_dx9->PopAllMatrices();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::PopAllMatrices", "Not pushed")));

    // The world's own stack, and the warning when both are in use.
    DebugClearLogs();
    EngMatrix four;
    four.SetTranslation(4, 0, 0);
    eng_device->SetTransformMatrix(&four);
    eng_device->PushTransformMatrix();
    eng_device_dx9->PushAllMatrices();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::PushAllMatrices", "Transform matrix stack level not 0 (1)")));
    eng_device_dx9->PopAllMatrices();
    eng_device->ResetTransformMatrix();
    EXPECT_TRUE(SameMatrix(Identity(), Transform(D3DTS_WORLD)));
    eng_device->PopTransformMatrix();
    EXPECT_TRUE(SameMatrix(Translation(4, 0, 0), Transform(D3DTS_WORLD)));
    eng_device->PopTransformMatrix();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::PopTransformMatrix", "Not pushed")));
}

TEST_F(EngDeviceDX9RenderStateTest, WorldMatricesFromPositionRotationAndScale)
{
    Open();
    _Vector3d position = {1, 2, 3};
    _Vector3d rotation = {0.3f, 0.5f, 0.7f};
    _Vector3d scale = {2, 3, 4};
    D3DMATRIX x, y, z, t, s, expected;
    D3DXMatrixRotationX(&x, 0.3f);
    D3DXMatrixRotationY(&y, 0.5f);
    D3DXMatrixRotationZ(&z, 0.7f);
    D3DXMatrixTranslation(&t, 1, 2, 3);
    D3DXMatrixScaling(&s, 2, 3, 4);

    // RotY x RotX x RotZ x Translation, with Scaling first when given.
    D3DXMatrixMultiply(&expected, &y, &x);
    D3DXMatrixMultiply(&expected, &expected, &z);
    D3DXMatrixMultiply(&expected, &expected, &t);
    eng_device->SetTransformMatrixFromPositionAndRotation(&position, &rotation);
    EXPECT_TRUE(SameMatrix(expected, Transform(D3DTS_WORLD)));
    D3DXMatrixMultiply(&expected, &s, &expected);
    eng_device->SetTransformMatrixFromPositionRotationAndScale(&position, &rotation, &scale);
    EXPECT_TRUE(SameMatrix(expected, Transform(D3DTS_WORLD)));

    eng_device->SetTransformMatrixFromPositionAndRotation(&position, nullptr);
    EXPECT_TRUE(SameMatrix(t, Transform(D3DTS_WORLD)));
    eng_device->SetTransformMatrixFromPositionAndRotation(nullptr, nullptr);
    EXPECT_TRUE(SameMatrix(Identity(), Transform(D3DTS_WORLD)));
    float copied[16] = {};
    eng_device_dx9->CopyTransformMatrix(copied);
    EXPECT_EQ(copied[0], 1.0f);
    EXPECT_EQ(eng_device->GetTransformMatrix(nullptr), nullptr);
}

TEST_F(EngDeviceDX9RenderStateTest, CropRectanglesInVirtualUnits)
{
    parms = WindowParms(1, 1280, 960);
    Open();
    eng_device->TurnOnCrop(10, 10, 100, 50);
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"SetScissorRect 20 20 220 120",
                                                                  "SetRenderState D3DRS_SCISSORTESTENABLE 1"}));
    EXPECT_TRUE(eng_device->IsCropOn());

    // Inside a viewport: the virtual screen is mapped into it.
    D3D9RecordingReset();
    eng_device->SetViewportToSizeRatioed(320, 240, 320, 240);
    eng_device->TurnOnCropInViewport(0, 0, 320, 240);
    EXPECT_EQ(D3D9RecordingGetCalls()[1], "SetScissorRect 640 480 960 720");

    D3D9RecordingReset();
    eng_device->TurnOffCrop();
    eng_device->TurnOffCrop();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::TurnOffCrop", "Crop is not on.")));
    EXPECT_EQ(Count("SetRenderState D3DRS_SCISSORTESTENABLE 0"), 2);
    EXPECT_FALSE(eng_device->IsCropOn());
    eng_device->TurnOnCropToDimension(nullptr);
    EXPECT_FALSE(eng_device->IsCropOn());
}

TEST_F(EngDeviceDX9RenderStateTest, CullingAndTheTextureStages)
{
    Open();
    eng_device->ShowTwoSidedPolygons(0);
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::ShowTwoSidedPolygons", "Flag already set to 0")));
    eng_device->ShowTwoSidedPolygons(1);
    EXPECT_TRUE(eng_device->AreTwoSidedPolygonsShown());
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_NONE));
    eng_device->ShowTwoSidedPolygons(0);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));

    // The fonts switch to modulating and back, once.
    D3D9RecordingReset();
    char changed = 0;
    eng_device_dx9->ModulateTextureAlphaIfNeeded(&changed);
    EXPECT_TRUE(changed);
    eng_device_dx9->ModulateTextureAlphaIfNeeded(&changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(D3D9RecordingGetCalls(),
              (std::vector<std::string>{"SetTextureStageState 0 D3DTSS_ALPHAOP 4",
                                        "SetTextureStageState 0 D3DTSS_ALPHAARG1 0",
                                        "SetTextureStageState 0 D3DTSS_ALPHAARG2 2",
                                        "SetTextureStageState 1 D3DTSS_ALPHAOP 1"}));
    eng_device_dx9->BlendTextureAlphaWithColourAlpha();
    DWORD op = 0;
    eng_d3d_device->GetTextureStageState(0, D3DTSS_ALPHAOP, &op);
    EXPECT_EQ(op, static_cast<DWORD>(D3DTOP_BLENDTEXTUREALPHA));
}

} // namespace
