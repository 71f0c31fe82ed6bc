// The fixture of the engine's display tests: the real display in place of
// the headless desktop, the GL backend in place of the recording one, a
// program object made fresh for each test, and a reader of the back
// buffer's pixels. The test opens the window and device itself (Open), so
// it can change parms first. Tear-down closes the program down and expects
// no GL device to be left.
//
// Program is RecordingProgram or a subclass that makes its own graphics
// objects with each device. A test that needs more set-up overrides SetUp,
// calls DisplayTest::SetUp first and returns when it failed.
#pragma once

#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "platform/d3d9/D3D9GL.h"
#include "tests/support/TestPixels.h"

#include <gtest/gtest.h>

#include <vector>

template <class Program = RecordingProgram>
class DisplayTest : public testing::Test {
protected:
    Program *program = nullptr;
    // A 320 x 240 window unless the test says otherwise.
    _EngCreateWindowParms parms = WindowParms(1, 320, 240);

    void SetUp() override
    {
        ResetRuntimeForTest();
        // GL and the display run on real time.
        VirtualClock::Remove();
        PlatformSetHeadless(false);
        ASSERT_TRUE(PlatformStartDisplay());
        D3D9SetBackend(D3D9_BACKEND_GL);
        program = new Program();
    }

    void TearDown() override
    {
        if (program) {
            program->CloseDown(1);
            delete program;
            program = nullptr;
        }
        EXPECT_EQ(D3D9GetLiveDeviceCount(), 0);
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        PlatformSetHeadless(true);
    }

    // Makes the main window and the device from parms; 1 on success.
    char Open() { return program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherDisplayClass", &parms); }

    // One back-buffer pixel as 0xAARRGGBB, (0, 0) the top-left.
    DWORD Pixel(int x, int y)
    {
        RECT rect = {x, y, x + 1, y + 1};
        DWORD argb = 0;
        EXPECT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &rect, &argb), S_OK);
        return argb;
    }

    // The whole back buffer of the window's size, row by row from the top.
    std::vector<DWORD> Screen()
    {
        std::vector<DWORD> pixels(static_cast<size_t>(parms.width) * parms.height, 0);
        RECT all = {0, 0, parms.width, parms.height};
        EXPECT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &all, pixels.data()), S_OK);
        return pixels;
    }
};
