// The Direct3D helpers: the own Direct3D object, the format table and the
// texts of result codes.
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/runtime/EngUtilsDX9.h"
#include "platform/d3d9/D3D9Runtime.h"
#include "platform/win32/Win32MessageBox.h"

#include <gtest/gtest.h>

namespace {

std::string Error(const char *where, const std::string &text)
{
    return std::string(" <ERROR>  ( ") + where + " )    " + text;
}

class EngUtilsDX9Test : public testing::Test {
protected:
    void SetUp() override
    {
        ResetRuntimeForTest();
        D3D9RuntimeSetPresent(true);
    }

    void TearDown() override
    {
        D3D9RuntimeSetPresent(true);
        VirtualClock::Remove();
    }
};

TEST_F(EngUtilsDX9Test, ResultsBecomeTheirTexts)
{
    struct Case {
        HRESULT result;
        const char *text;
    };
    const Case cases[] = {
        {S_FALSE, "Unknown error <0x1>"},
        {static_cast<HRESULT>(0x88761234), "Unknown error <0x88761234>"},
        {E_FAIL, "An undetermined error occurred inside the Direct3D subsystem."},
        {D3DERR_INVALIDCALL, "The method call is invalid."},
        {D3DERR_DEVICELOST, "The device has been lost but cannot be reset at this time. Therefore, rendering is not "
                            "possible."},
        {D3DOK_NOAUTOGEN,
         "This is a success code. However, the autogeneration of mipmaps is not supported for this format..."},
        {D3DXERR_SKINNINGNOTSUPPORTED, "Skinning is not supported. "},
        {D3DXFERR_BADOBJECT, "D3DXFERR_BADOBJECT"},
        {D3DXFERR_BADCACHEFILE, "D3DXFERR_BADCACHEFILE"},
    };
    for (const Case &c : cases) {
        DebugClearLogs();
        EXPECT_FALSE(EngUtilsDX9_CheckResult("Place::Call", "SetThing", c.result));
        EXPECT_EQ(StoredLines(), std::vector<std::string>{Error("Place::Call", std::string("SetThing: ") + c.text)});
    }
    DebugClearLogs();
    EXPECT_TRUE(EngUtilsDX9_CheckResult("Place::Call", "SetThing", S_OK));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

TEST_F(EngUtilsDX9Test, TheFormatTableGivesBitsAndAlpha)
{
    struct Case {
        D3DFORMAT format;
        int bits;
        char alpha;
    };
    const Case cases[] = {
        {D3DFMT_X8R8G8B8, 32, 0}, {D3DFMT_A8R8G8B8, 32, 1}, {D3DFMT_R5G6B5, 16, 0}, {D3DFMT_X1R5G5B5, 16, 0},
        {D3DFMT_A1R5G5B5, 16, 1}, {D3DFMT_X4R4G4B4, 16, 0}, {D3DFMT_A4R4G4B4, 16, 1}, {D3DFMT_R8G8B8, 24, 0},
    };
    for (const Case &c : cases) {
        int bits = 0;
        char alpha = -1;
        EXPECT_TRUE(EngUtilsDX9_IsKnownFormat(c.format, &bits, &alpha));
        EXPECT_EQ(bits, c.bits) << c.format;
        EXPECT_EQ(alpha, c.alpha) << c.format;
        EXPECT_EQ(EngUtilsDX9_GetBitdepthFromFormat(c.format, nullptr, 1), c.bits);
    }
    EXPECT_TRUE(EngUtilsDX9_IsKnownFormat(D3DFMT_R8G8B8, nullptr, nullptr));
    EXPECT_FALSE(EngUtilsDX9_IsKnownFormat(D3DFMT_L8, nullptr, nullptr));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    char alpha = 5;
    EXPECT_EQ(EngUtilsDX9_GetBitdepthFromFormat(D3DFMT_A16B16G16R16, &alpha, 0), 0);
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_EQ(EngUtilsDX9_GetBitdepthFromFormat(D3DFMT_A16B16G16R16, &alpha, 1), 0);
    EXPECT_EQ(StoredLines(),
              std::vector<std::string>{Error("EngUtilsDX9_GetBitdepthFromFormat", "Unrecognised format [36]")});
}

TEST_F(EngUtilsDX9Test, SurfaceFormatsNeedADevice)
{
    D3DFORMAT format = D3DFMT_L8;
    EXPECT_FALSE(EngUtilsDX9_GetSupportedSurfaceFormat(&format, 1));
    EXPECT_EQ(format, D3DFMT_L8);

    RecordingProgram program;
    _EngCreateWindowParms parms = WindowParms();
    ASSERT_EQ(program.CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
    EXPECT_FALSE(EngUtilsDX9_GetSupportedSurfaceFormat(nullptr, 1));
    EXPECT_TRUE(EngUtilsDX9_GetSupportedSurfaceFormat(&format, 1));
    EXPECT_EQ(format, D3DFMT_A8R8G8B8);
    EXPECT_TRUE(EngUtilsDX9_GetSupportedSurfaceFormat(&format, 0));
    EXPECT_EQ(format, D3DFMT_X8R8G8B8);
    program.CloseDown(1);
}

TEST_F(EngUtilsDX9Test, TheOwnDirect3DObjectIsMadeOnceAndLoadsTheRuntimeAgainAfterRelease)
{
    const int loads = D3D9RuntimeGetLoadCount();
    EngUtilsDX9_ReleaseD3D();
    EXPECT_EQ(StoredLines(), std::vector<std::string>{Error("EngUtilsDX9_ReleaseD3D", "Not setup.")});

    IDirect3D9 *d3d = EngUtilsDX9_CreateD3D(1);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), loads + 1);
    EXPECT_EQ(EngUtilsDX9_CreateD3D(1), d3d);
    EXPECT_TRUE(WasStored(Error("EngUtilsDX9_CreateD3D", "Already called")));
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), loads + 1);

    EngUtilsDX9_ReleaseD3D();
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), loads);
    ASSERT_NE(EngUtilsDX9_CreateD3D(1), nullptr);
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), loads + 1);
    EngUtilsDX9_ReleaseD3D();
    EXPECT_TRUE(TestHooks::message_boxes.empty());
}

TEST_F(EngUtilsDX9Test, AMissingRuntimeIsToldWhenAsked)
{
    D3D9RuntimeSetPresent(false);
    EXPECT_EQ(EngUtilsDX9_CreateD3D(0), nullptr);
    EXPECT_TRUE(TestHooks::message_boxes.empty());
    EXPECT_EQ(EngUtilsDX9_CreateD3D(1), nullptr);
    ASSERT_EQ(TestHooks::message_boxes.size(), 1u);
    EXPECT_EQ(TestHooks::message_boxes[0].caption, "DirectX 9 Not Detected");
    EXPECT_EQ(TestHooks::message_boxes[0].text.rfind("DirectX version 9 or later does not appear to be installed on "
                                                     "your system.\n\nTo get the latest version of Direct X, go to:",
                                                     0),
              0u);
    EXPECT_TRUE(WasStored(Error("EngUtilsDX9_CreateD3D", "DirectX9 Not Installed")));
    // Nothing was made, so there is nothing to release.
    DebugClearLogs();
    EngUtilsDX9_ReleaseD3D();
    EXPECT_EQ(StoredLines(), std::vector<std::string>{Error("EngUtilsDX9_ReleaseD3D", "Not setup.")});
    EXPECT_EQ(D3D9RuntimeGetLoadCount(), 0);
}

} // namespace
