#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "platform/win32/Win32MessageBox.h"

#include <gtest/gtest.h>

namespace {

class EngDeviceTest : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    _EngCreateWindowParms parms = WindowParms(1, 800, 600);

    void SetUp() override
    {
        ResetRuntimeForTest();
        program = new RecordingProgram();
    }

    void TearDown() override
    {
        program->CloseDown(1);
        delete program;
        eng_device_type = EDT_DX9;
        VirtualClock::Remove();
    }

    EngWindow *Open()
    {
        EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        D3D9RecordingReset();
        return program->GetWindow();
    }
};

TEST_F(EngDeviceTest, AnotherDeviceKindMakesNothingAndDoesNothing)
{
    EngDevice facade(nullptr);
    eng_device_type = EDT_NONE;
    EXPECT_FALSE(facade.Create(1, 800, 600, 32, 60));
    EXPECT_EQ(eng_device, nullptr);
    EXPECT_FALSE(facade.IsCreated());

    D3DVIEWPORT9 viewport;
    EXPECT_EQ(facade.GetViewport(&viewport), nullptr);
    facade.SetClearColour(1, 1, 1);
    facade.ClearBackBufferAndZBuffer();
    facade.SwapBuffers();
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());
    EXPECT_EQ(DebugGetNumMessages(), 0) << "the facade reports nothing";
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
    facade->Destroy();
    EXPECT_EQ(eng_device, nullptr);
    EXPECT_EQ(eng_device_dx9, nullptr);
    EXPECT_EQ(eng_d3d_device, nullptr);
    EXPECT_FALSE(facade->IsCreated());
    D3DVIEWPORT9 viewport;
    EXPECT_EQ(facade->GetViewport(&viewport), nullptr);
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);
    EXPECT_EQ(D3D9RecordingGetCalls(), std::vector<std::string>{"Release device"});
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
