#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "platform/win32/Win32MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class EngDeviceTest : public RecordingProgramTest {
protected:
    EngDeviceTest() { parms = WindowParms(1, 800, 600); }

    void TearDown() override
    {
        RecordingProgramTest::TearDown();
        eng_device_type = EDT_DX9;
    }

    EngWindow *Open()
    {
        EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        D3D9RecordingReset();
        return program->GetWindow();
    }
};

// Every operation of the facade once, with what each answers.
void CallEveryOperation(EngDevice *facade, std::vector<int> *answers)
{
    D3DVIEWPORT9 viewport = {0, 0, 10, 10, 0.0f, 1.0f};
    _Dimension dimension = {0, 0, 10, 10};
    EngMatrix matrix;
    matrix.SetIdentity();
    _Vector3d vector = {1, 2, 3};
    char on = 0;
    int src = 0, dest = 0;
    facade->ComputeFullScreenViewport();
    facade->SyncWithGPU();
    facade->ModulateTextureAlphaWithColourAlpha();
    facade->SetViewportFullScreen();
    facade->SetViewportToDimension(&dimension);
    facade->SetViewportToSizeRatioed(0, 0, 10, 10);
    facade->SetViewportToDimensionRatioed(&dimension);
    facade->SetViewportToViewportStruct(&viewport);
    answers->push_back(facade->GetViewport(&viewport) != nullptr);
    answers->push_back(facade->IsViewportFullScreen());
    facade->SetClearColour(1, 1, 1);
    facade->ClearBackBufferAndZBuffer();
    facade->ClearBackBuffer();
    answers->push_back(facade->IsLightingOn());
    facade->TurnOnLighting();
    facade->TurnOffLighting();
    answers->push_back(facade->TurnOffLightingIfOn());
    facade->EnableZBuffer(1);
    facade->RestoreZBuffer();
    answers->push_back(facade->SuspendZBufferIfOn());
    facade->EnableBlendingType(0);
    facade->EnableBlending(D3DBLEND_ONE, D3DBLEND_ONE);
    answers->push_back(facade->GetBlendingState(&on, &src, &dest));
    facade->DisableBlending();
    facade->SetBlendingState(1, D3DBLEND_ONE, D3DBLEND_ZERO);
    answers->push_back(facade->SaveOrRestoreBlendingState(1));
    answers->push_back(facade->SaveOrRestoreBlendingState(0));
    facade->PrepareFor2D(1);
    answers->push_back(facade->IsPreparedFor2D());
    facade->RestoreAfter2D();
    answers->push_back(facade->PrepareFor2DIfNeeded(0));
    facade->RestoreAfter2D();
    answers->push_back(facade->PrepareFor2DIfNeededAlt(0));
    facade->RestoreAfter2D();
    facade->PushTransformMatrix();
    facade->PopTransformMatrix();
    facade->ResetTransformMatrix();
    facade->SetTransformMatrix(&matrix);
    answers->push_back(facade->GetTransformMatrix(&matrix) != nullptr);
    facade->SetTransformMatrixFromPositionAndRotation(&vector, &vector);
    facade->SetTransformMatrixFromPositionRotationAndScale(&vector, &vector, &vector);
    facade->ShowTwoSidedPolygons(1);
    answers->push_back(facade->AreTwoSidedPolygonsShown());
    facade->TurnOnCrop(0, 0, 10, 10);
    facade->TurnOnCropToDimension(&dimension);
    facade->TurnOnCropInViewport(0, 0, 10, 10);
    facade->TurnOnCropInViewportToDimension(&dimension);
    answers->push_back(facade->IsCropOn());
    facade->TurnOffCrop();
    answers->push_back(facade->BeginRendering());
    answers->push_back(facade->BeginRenderingIfNeeded());
    facade->EndRendering();
    facade->SwapBuffers();
}

TEST_F(EngDeviceTest, AnotherDeviceKindMakesNothingAndDoesNothing)
{
    EngDevice facade(nullptr);
    eng_device_type = EDT_NONE;
    EXPECT_FALSE(facade.Create(1, 800, 600, 32, 60));
    EXPECT_EQ(eng_device, nullptr);
    EXPECT_EQ(eng_device_dx9, nullptr);
    EXPECT_FALSE(facade.IsCreated());

    std::vector<int> answers;
    CallEveryOperation(&facade, &answers);
    EXPECT_EQ(answers, std::vector<int>(answers.size(), 0));
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());
    EXPECT_EQ(DebugGetNumMessages(), 0) << "the facade reports nothing";
}

TEST_F(EngDeviceTest, EveryOperationReachesTheDevice)
{
    Open();
    std::vector<int> answers;
    CallEveryOperation(eng_device, &answers);
    // Each setter is seen by the device (the blending calls, the crop, the
    // viewports and the frame among them).
    const std::vector<std::string> &calls = D3D9RecordingGetCalls();
    for (const char *call : {"SetViewport 0 0 10 10 0 1", "Clear 0 1 ffffffff 1 0", "SetRenderState D3DRS_CULLMODE 1",
                             "SetScissorRect 0 0 12 12", "BeginScene", "EndScene", "Present"})
        EXPECT_NE(std::find(calls.begin(), calls.end(), call), calls.end()) << call;
    // The queries answered from the device's state.
    EXPECT_EQ(answers, (std::vector<int>{1, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0}));
}

TEST_F(EngDeviceTest, TheFacadeForwardsToTheDevice)
{
    Open();
    ASSERT_NE(eng_device, nullptr);
    EXPECT_TRUE(eng_device->IsCreated());
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 1);

    // 0.5 x 255 is 127.5: each channel is truncated.
    eng_device->SetClearColour(1.0f, 0.5f, 0.0f);
    eng_device->ClearBackBufferAndZBuffer();
    eng_device->SwapBuffers();
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"Clear 0 3 ffff7f00 1 0", "Present"}));

    // In a window the full-screen viewport is the client area.
    D3DVIEWPORT9 viewport;
    ASSERT_EQ(eng_device->GetViewport(&viewport), &viewport);
    EXPECT_EQ(viewport.X, 0u);
    EXPECT_EQ(viewport.Y, 0u);
    EXPECT_EQ(viewport.Width, 800u);
    EXPECT_EQ(viewport.Height, 600u);
    EXPECT_FLOAT_EQ(viewport.MinZ, 0.0f);
    EXPECT_FLOAT_EQ(viewport.MaxZ, 1.0f);
}

TEST_F(EngDeviceTest, AfterDestroyNothingIsLeft)
{
    EngWindow *window = Open();
    EngDevice *facade = window->GetDevice();
    eng_device->TurnOnCrop(0, 0, 10, 10);
    eng_device->PrepareFor2D(0);
    facade->Destroy();
    EXPECT_EQ(eng_device, nullptr);
    EXPECT_EQ(eng_device_dx9, nullptr);
    EXPECT_EQ(eng_d3d_device, nullptr);
    EXPECT_FALSE(facade->IsCreated());
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);

    D3D9RecordingReset();
    std::vector<int> answers;
    CallEveryOperation(facade, &answers);
    EXPECT_EQ(answers, std::vector<int>(answers.size(), 0));
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());
}

TEST_F(EngDeviceTest, ADeviceTheDisplayRefusesIsToldInAPopup)
{
    D3D9RecordingFailCall("CreateDevice", E_FAIL);
    EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 0);
    EXPECT_EQ(eng_device, nullptr);
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "EngDeviceDX9::DoChangeDevice");
    EXPECT_EQ(TestHooks::message_boxes[0].text, "Error creating the Direct3D device");
    EXPECT_EQ(TestHooks::message_boxes[0].type, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngProgram::CreateMainWindowAndDevice )    Could not create graphics device."));

    // The device object stays for the next attempt, which succeeds.
    EngWindow *window = program->GetWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(eng_device_dx9, nullptr);
    EXPECT_EQ(window->DoCreateGraphicsDevice(1), 1);
    EXPECT_NE(eng_device, nullptr);
}

TEST_F(EngDeviceTest, AFullScreenDeviceCoversTheWholeMode)
{
    parms = WindowParms(0, 1024, 768);
    Open();
    D3DVIEWPORT9 viewport;
    ASSERT_NE(eng_device->GetViewport(&viewport), nullptr);
    EXPECT_EQ(viewport.Width, 1024u);
    EXPECT_EQ(viewport.Height, 768u);
}

} // namespace
