// The device object's life cycle on the recording device: creation and its
// failures, frames, the lost device, waiting for the graphics processor, and
// what Destroy releases.
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "platform/d3d9/D3D9Runtime.h"
#include "platform/win32/Win32MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string Error(const char *where, const std::string &text)
{
    return std::string(" <ERROR>  ( ") + where + " )    " + text;
}

std::string Info(const std::string &text)
{
    return " :  " + text;
}

int CallsStartingWith(const std::string &start)
{
    const std::vector<std::string> &calls = D3D9RecordingGetCalls();
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string &call) {
        return call.compare(0, start.size(), start) == 0;
    }));
}

class EngDeviceDX9Test : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    _EngCreateWindowParms parms = WindowParms(1, 800, 600);

    void SetUp() override
    {
        ResetRuntimeForTest();
        D3D9RuntimeSetPresent(true);
        program = new RecordingProgram();
    }

    void TearDown() override
    {
        program->CloseDown(1);
        delete program;
        D3D9RuntimeSetPresent(true);
        VirtualClock::Remove();
    }

    EngWindow *Open()
    {
        EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        D3D9RecordingReset();
        DebugClearLogs();
        program->TakeHooks();
        // As the main loop does at every pass.
        EngMainUpdateProgramTime();
        return program->GetWindow();
    }

    void AdvanceSeconds(double seconds)
    {
        VirtualClock::Advance(static_cast<int>(seconds * 1000));
        EngMainUpdateProgramTime();
    }
};

TEST_F(EngDeviceDX9Test, AWindowedDeviceTakesTheWindowsSizeAndShowsFramesAtOnce)
{
    parms.refresh_rate = 75;
    Open();
    ASSERT_NE(eng_device_dx9, nullptr);
    const _DXUTDeviceSettings *settings = eng_device_dx9->GetSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->AdapterOrdinal, 0u);
    EXPECT_EQ(settings->DeviceType, D3DDEVTYPE_HAL);
    EXPECT_TRUE(settings->pp.Windowed);
    EXPECT_EQ(settings->pp.BackBufferWidth, 800u);
    EXPECT_EQ(settings->pp.BackBufferHeight, 600u);
    EXPECT_EQ(settings->pp.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(settings->pp.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(settings->pp.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(eng_d3d_back_buffer_format, D3DFMT_X8R8G8B8);
    // The device's refresh rate of 0 leaves the measures' own.
    EXPECT_EQ(eng_screen_refresh_rate, 75);
    EXPECT_EQ(eng_screen_bits, 32);
    EXPECT_EQ(eng_device_dx9->GetBackBufferDesc()->Width, 800u);
    EXPECT_EQ(eng_device_dx9->GetBackBufferDesc()->Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(eng_device_dx9->GetCaps()->DeviceType, D3DDEVTYPE_HAL);
    DWORD antialias = TRUE;
    ASSERT_EQ(eng_d3d_device->GetRenderState(D3DRS_MULTISAMPLEANTIALIAS, &antialias), S_OK);
    EXPECT_EQ(antialias, static_cast<DWORD>(FALSE));
}

TEST_F(EngDeviceDX9Test, TheWindowsAntiAliasingAndTheFullScreenDepthReachTheDevice)
{
    parms = WindowParms(0, 1024, 768);
    parms.bits = 16;
    parms.aa_type = 4;
    parms.aa_quality = 0;
    const PlatformHeadlessMode modes[] = {{1024, 768, 32, 60}, {1024, 768, 16, 60}};
    const PlatformHeadlessMode desktop = {1024, 768, 32, 60};
    PlatformHeadlessSetModes(modes, 2, &desktop);
    Open();
    const _DXUTDeviceSettings *settings = eng_device_dx9->GetSettings();
    EXPECT_FALSE(settings->pp.Windowed);
    EXPECT_EQ(settings->AdapterFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(settings->pp.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
    EXPECT_EQ(settings->pp.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(eng_screen_bits, 16);
    DWORD antialias = FALSE;
    ASSERT_EQ(eng_d3d_device->GetRenderState(D3DRS_MULTISAMPLEANTIALIAS, &antialias), S_OK);
    EXPECT_EQ(antialias, static_cast<DWORD>(TRUE));

    EXPECT_EQ(DXUTApplyWindowMultisample(nullptr), nullptr);
}

TEST_F(EngDeviceDX9Test, TheDeviceIsMadeWithTheSettingsSearchsAnswer)
{
    Open();
    // The hardware was listed for the device, which has the search's
    // depth buffer and processing.
    EXPECT_TRUE(DxutEnumerationIsDone());
    const _DXUTDeviceSettings *settings = eng_device_dx9->GetSettings();
    EXPECT_EQ(settings->BehaviorFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING);
    EXPECT_EQ(settings->pp.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(settings->pp.BackBufferCount, 1u);
    EXPECT_EQ(settings->pp.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_TRUE(settings->pp.EnableAutoDepthStencil);
    EXPECT_EQ(settings->pp.AutoDepthStencilFormat, D3DFMT_D32);

    // The list goes with the device object.
    program->GetWindow()->GetDevice()->Destroy();
    EXPECT_EQ(dxut_enum, nullptr);
}

TEST_F(EngDeviceDX9Test, FullScreenAsksForTheAdapterFormatOfItsDepth)
{
    const PlatformHeadlessMode modes[] = {{1024, 768, 32, 60}, {1024, 768, 16, 60}};
    const PlatformHeadlessMode desktop = {1024, 768, 32, 60};
    struct Case {
        char windowed;
        int bits;
        D3DFORMAT format;
    };
    const Case cases[] = {
        {0, 32, D3DFMT_X8R8G8B8},
        {0, 16, D3DFMT_R5G6B5},
        // No format is asked for: the desktop's wins.
        {0, 24, D3DFMT_X8R8G8B8},
        {0, 0, D3DFMT_X8R8G8B8},
        // A window is on the desktop's format.
        {1, 16, D3DFMT_X8R8G8B8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bits);
        TearDown();
        SetUp();
        PlatformHeadlessSetModes(modes, 2, &desktop);
        parms = WindowParms(c.windowed, 1024, 768);
        parms.bits = c.bits;
        Open();
        ASSERT_NE(eng_device_dx9, nullptr);
        EXPECT_EQ(eng_device_dx9->GetSettings()->AdapterFormat, c.format);
        EXPECT_EQ(eng_d3d_back_buffer_format, c.format);
    }
}

TEST_F(EngDeviceDX9Test, AnAntiAliasingTheGraphicsLackIsRefused)
{
    parms.aa_type = 16;
    EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 0);
    EXPECT_EQ(eng_device, nullptr);
    EXPECT_EQ(eng_d3d_device, nullptr);
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "EngDeviceDX9::Create");
    EXPECT_EQ(TestHooks::message_boxes[0].text, "Could not find valid settings");
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::SetupCreate", "Could not find valid settings")));
    EXPECT_FALSE(WasStored(Error("EngDeviceDX9::SetupCreate", "Could not change device")));
}

TEST_F(EngDeviceDX9Test, CreationFailuresAreShownInAPopup)
{
    struct Case {
        const char *name;
        bool runtime;
        HRESULT create_failure;
        int aa_type;
        const char *caption;
        const char *text;
    };
    const Case cases[] = {
        {"no runtime", false, S_OK, 0, "Error", "Could not create Direct3D Object"},
        {"no video memory with anti-aliasing", true, D3DERR_OUTOFVIDEOMEMORY, 2, "Cannot Create Direct 3D Device",
         "Try turning off anti aliasing, or running in a lower resolution."},
        {"no video memory", true, D3DERR_OUTOFVIDEOMEMORY, 0, "EngDeviceDX9::DoChangeDevice",
         "Could not create the Direct3D device"},
        {"another failure", true, E_FAIL, 0, "EngDeviceDX9::DoChangeDevice", "Error creating the Direct3D device"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        parms.aa_type = c.aa_type;
        D3D9RuntimeSetPresent(c.runtime);
        if (c.create_failure != S_OK)
            D3D9RecordingFailCall("CreateDevice", c.create_failure);
        EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 0);
        EXPECT_EQ(eng_device, nullptr);
        EXPECT_EQ(eng_d3d_device, nullptr);
        ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
        EXPECT_EQ(TestHooks::message_boxes[0].caption, c.caption);
        EXPECT_EQ(TestHooks::message_boxes[0].text, c.text);
        EXPECT_EQ(TestHooks::message_boxes[0].type, MB_OK | MB_ICONERROR);
        EXPECT_EQ(WasStored(Error("EngDeviceDX9::SetupCreate", "Could not change device")), c.runtime);
    }
    // Only the failure the device names itself is logged with its text.
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::DoChangeDevice",
                                "CreateDevice: An undetermined error occurred inside the Direct3D subsystem.")));
}

TEST_F(EngDeviceDX9Test, AFailedCreationLeavesNothingBehind)
{
    D3D9RecordingFailCall("CreateDevice", E_FAIL);
    EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 0);
    // The device object stays for another attempt and then goes with the
    // window; the settings it kept go with it (the leak checker watches).
    program->CloseDown(1);
    EXPECT_EQ(eng_device_dx9, nullptr);
    EXPECT_EQ(eng_d3d, nullptr);
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), 0);
    EXPECT_FALSE(WasStored(Error("EngDeviceDX9::DoSyncGpuWithCpuUsingEvents", "Could not cleanup as device not ok")));
}

TEST_F(EngDeviceDX9Test, ScenesOpenAndCloseInPairs)
{
    Open();
    EXPECT_TRUE(eng_device->BeginRendering());
    EXPECT_TRUE(eng_device_dx9->IsRendering());
    // A second begin ends the open scene first.
    EXPECT_TRUE(eng_device->BeginRendering());
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::BeginRendering", "Already rendering")));
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"BeginScene", "EndScene", "BeginScene"}));

    D3D9RecordingReset();
    EXPECT_FALSE(eng_device->BeginRenderingIfNeeded());
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());
    eng_device->EndRendering();
    EXPECT_FALSE(eng_device_dx9->IsRendering());
    eng_device->EndRendering();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::EndRendering", "Not rendering")));
    EXPECT_TRUE(eng_device->BeginRenderingIfNeeded());
    eng_device->EndRendering();

    // A failing BeginScene is reported and leaves the scene closed.
    D3D9RecordingFailCall("BeginScene", D3DERR_INVALIDCALL);
    EXPECT_FALSE(eng_device->BeginRendering());
    EXPECT_FALSE(eng_device_dx9->IsRendering());
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::BeginRendering", "BeginScene: The method call is invalid.")));
}

TEST_F(EngDeviceDX9Test, PresentFailuresAreToldApart)
{
    Open();
    D3D9RecordingFailCall("Present", D3DERR_DRIVERINTERNALERROR);
    eng_device->SwapBuffers();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::SwapBuffers", "Internal Driver Error")));
    D3D9RecordingFailCall("Present", E_FAIL);
    eng_device->SwapBuffers();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::SwapBuffers", "Unexpected error.")));
    EXPECT_FALSE(eng_device_dx9->IsLost());

    // Without a device there is nothing to show.
    eng_device_dx9->Cleanup3DEnvironment(0);
    eng_device_dx9->SwapBuffers();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::SwapBuffers", "No device")));
}

TEST_F(EngDeviceDX9Test, ALostDeviceIsMadeAgainOnlyAfterFiveSeconds)
{
    EngWindow *window = Open();
    const double lost_at = eng_main_program_time;
    D3D9RecordingFailCall("Present", D3DERR_DEVICELOST);
    eng_device->SwapBuffers();
    EXPECT_TRUE(WasStored(Info("Warning: Device Lost...")));
    EXPECT_TRUE(eng_device_dx9->IsLost());
    EXPECT_DOUBLE_EQ(eng_device_dx9->GetLostTime(), lost_at);

    // A second loss keeps the time of the first.
    AdvanceSeconds(2.0);
    D3D9RecordingFailCall("Present", D3DERR_DEVICELOST);
    eng_device->SwapBuffers();
    EXPECT_DOUBLE_EQ(eng_device_dx9->GetLostTime(), lost_at);

    // While the device says it is lost, every frame is skipped.
    D3D9RecordingFailCall("TestCooperativeLevel", D3DERR_DEVICELOST, -1);
    EXPECT_FALSE(eng_device->BeginRendering());
    EXPECT_FALSE(eng_device->BeginRendering());
    EXPECT_EQ(CallsStartingWith("BeginScene"), 0);

    // Back, but within five seconds of the first loss: still skipped, and
    // no new device asked for.
    D3D9RecordingReset();
    AdvanceSeconds(2.9);
    EXPECT_FALSE(eng_device->BeginRendering());
    window->PumpMessages();
    EXPECT_TRUE(program->TakeHooks().empty());
    EXPECT_TRUE(eng_device_dx9->IsLost());

    // The first frame past five seconds asks the window for a new device.
    AdvanceSeconds(0.2);
    EXPECT_FALSE(eng_device->BeginRendering());
    EXPECT_TRUE(WasStored(Info("Re-creating device that was lost.")));
    EXPECT_FALSE(eng_device_dx9->IsLost());
    EXPECT_DOUBLE_EQ(eng_device_dx9->GetLostTime(), 0.0);
    window->PumpMessages();
    EXPECT_EQ(program->TakeHooks().size(), 7u);
    EXPECT_EQ(DeviceLifeCalls(), (std::vector<std::string>{"Release device", "CreateDevice 800x600 windowed"}));
    EXPECT_TRUE(eng_device->BeginRendering());
}

TEST_F(EngDeviceDX9Test, AFailingSyncMethodIsSwitchedOnceThenTurnedOff)
{
    Open();
    program->SetSyncWithGpuMethod(1, 0, 1);
    D3D9RecordingFailCall("CreateOffscreenPlainSurface", E_FAIL, -1);
    D3D9RecordingFailCall("CreateQuery", E_FAIL, -1);
    eng_device->SyncWithGPU();
    const std::vector<std::string> expected = {
        Error("EngDeviceDX9::DoSyncGpuWithCpuUsingLockedSurfaces",
              "CreateOffscreenPlainSurface(1): An undetermined error occurred inside the Direct3D subsystem."),
        Error("EngDeviceDX9::DoSyncGpuWithCpuUsingLockedSurfaces",
              "CreateOffscreenPlainSurface: An undetermined error occurred inside the Direct3D subsystem."),
        Error("EngDeviceDX9::DoSyncGpuWithCpuUsingLockedSurfaces", "Creation of surface 0 failed"),
        Error("EngDeviceDX9::DoSyncGpuWithCpu", "DoSyncGpuWithCpuUsingLockedSurfaces() failed"),
        Error("EngDeviceDX9::SyncWithGPU", "Sync method 0 failed"),
        Info("EngDeviceDX9::SyncWithGPU - Trying method 1 ..."),
        Error("EngDeviceDX9::DoSyncGpuWithCpuUsingEvents",
              "CreateQuery: An undetermined error occurred inside the Direct3D subsystem."),
        Error("EngDeviceDX9::DoSyncGpuWithCpu", "DoSyncGpuWithCpuUsingEvents() failed"),
        Error("EngDeviceDX9::SyncWithGPU", "Sync method 1 failed"),
    };
    EXPECT_EQ(StoredLines(), expected);
    EXPECT_EQ(program->GetSyncWithGpuMethod(), -1);

    // Never tried again.
    D3D9RecordingReset();
    eng_device->SyncWithGPU();
    EXPECT_TRUE(D3D9RecordingGetCalls().empty());
}

TEST_F(EngDeviceDX9Test, WithoutSwitchingTheFirstFailureTurnsSyncingOff)
{
    Open();
    program->SetSyncWithGpuMethod(1, 1, 0);
    D3D9RecordingFailCall("Issue", E_FAIL);
    eng_device->SyncWithGPU();
    EXPECT_EQ(program->GetSyncWithGpuMethod(), -1);
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::SyncWithGPU", "Sync method 1 failed")));
    EXPECT_FALSE(WasStored(Info("EngDeviceDX9::SyncWithGPU - Trying method 0 ...")));
    // The query that failed to issue was let go.
    EXPECT_EQ(CallsStartingWith("Release query"), 1);
}

TEST_F(EngDeviceDX9Test, EachSyncMethodWaitsForTheWorkAskedBefore)
{
    Open();
    // Events: issued, then polled until done.
    program->SetSyncWithGpuMethod(1, 1, 0);
    D3D9RecordingFailCall("GetData", S_FALSE, 3);
    eng_device->SyncWithGPU();
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"CreateQuery 8", "Issue 0x1", "GetData", "GetData",
                                                                  "GetData", "GetData"}));

    // Locked surfaces: two are made once; each frame fills one and reads the
    // other, filled the frame before.
    D3D9RecordingReset();
    program->SetSyncWithGpuMethod(1, 0, 0);
    eng_device->SyncWithGPU();
    eng_device->SyncWithGPU();
    EXPECT_EQ(D3D9RecordingGetCalls(),
              (std::vector<std::string>{"CreateOffscreenPlainSurface 16x16 21", "CreateOffscreenPlainSurface 16x16 21",
                                        "ColorFill 00000000", "LockRect surface 16x16 0x10", "UnlockRect surface 16x16",
                                        "ColorFill 00000000", "LockRect surface 16x16 0x10",
                                        "UnlockRect surface 16x16"}));
    EXPECT_EQ(program->GetSyncWithGpuMethod(), 0);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngDeviceDX9Test, DestroyReleasesInOrderAndUnloadsTheRuntime)
{
    Open();
    program->SetSyncWithGpuMethod(1, 1, 0);
    eng_device->SyncWithGPU();
    program->SetSyncWithGpuMethod(1, 0, 0);
    eng_device->SyncWithGPU();
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), 1);
    D3D9RecordingReset();

    program->GetWindow()->GetDevice()->Destroy();
    EXPECT_EQ(D3D9RecordingGetCalls(), (std::vector<std::string>{"Release query", "Release surface 16x16",
                                                                  "Release surface 16x16", "Release device"}));
    EXPECT_EQ(eng_d3d_device, nullptr);
    EXPECT_EQ(eng_d3d, nullptr);
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), 0);
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(EngDeviceDX9Test, AnObjectLeftOnTheDeviceIsReported)
{
    Open();
    IDirect3DTexture9 *texture = nullptr;
    ASSERT_EQ(eng_d3d_device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), S_OK);
    program->GetWindow()->GetDevice()->Destroy();
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::Cleanup3DEnvironment", "Graphics objects not released [1]")));
    // The device lives on with its object, and goes with it.
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 1);
    texture->Release();
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);
}

TEST_F(EngDeviceDX9Test, TheTextureCursorFollowsTheScreenOrFallsBackToTheSystemCursor)
{
    parms = WindowParms(1, 1280, 720);
    EngWindow *window = Open();
    ASSERT_TRUE(window->SetupTextureCursor_PC("Data/1600.dat", 2, 2, 20, 40, 1, 6, 10));
    _EngWindowTextureCursor *cursor = window->GetTextureCursor_PC();

    // Scaled by the aspect factors (0.75 and 1 on 16:9), truncated.
    eng_device_dx9->SetupTextureCursor(1);
    EXPECT_EQ(cursor->draw_width, 15);
    EXPECT_EQ(cursor->draw_height, 40);
    EXPECT_EQ(cursor->hot_x_scaled, 4);
    EXPECT_EQ(cursor->hot_y_scaled, 10);
    // Without the scale flag, with the virtual screen (2.0 and 1.5).
    cursor->scale = 0;
    eng_device_dx9->SetupTextureCursor(1);
    EXPECT_EQ(cursor->draw_width, 40);
    EXPECT_EQ(cursor->draw_height, 60);
    EXPECT_EQ(cursor->hot_x_scaled, 12);
    EXPECT_EQ(cursor->hot_y_scaled, 15);
    EXPECT_LT(CursorCount(), 0);

    eng_device_dx9->SetupTextureCursor(0);
    EXPECT_TRUE(WasStored(Error("EngDeviceDX9::Create", "Could not create texture cursor <Data/1600.dat>")));
    EXPECT_FALSE(cursor->in_use);
    EXPECT_GE(CursorCount(), 0);
}

} // namespace
