// The Direct3D object's adapters on the headless desktop: displays, their
// modes by format and their desktop modes, and what devices on them can
// have.
#include "platform/d3d9/D3D9.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9Recording.h"
#include "platform/win32/Win32Display.h"
#include "platform/win32/Win32Headless.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class D3D9ObjectTest : public testing::Test {
protected:
    IDirect3D9 *d3d = nullptr;

    void SetUp() override
    {
        PlatformResetHeadlessForTests();
        PlatformSetHeadless(true);
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        D3D9RecordingReset();
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }

    void TearDown() override
    {
        d3d->Release();
        D3D9RecordingReset();
        PlatformResetHeadlessForTests();
    }
};

TEST_F(D3D9ObjectTest, DisplaysAreAdaptersWithTheirModesByFormat)
{
    // A 32-bit mode in two formats, one at two rates, a 16-bit and a 15-bit
    // mode, and an 8-bit mode no format stands for.
    const PlatformHeadlessMode first_modes[] = {{1024, 768, 32, 60},
                                                {1024, 768, 32, 75},
                                                {800, 600, 32, 60, D3DFMT_A8R8G8B8},
                                                {800, 600, 16, 60},
                                                {640, 480, 15, 60},
                                                {320, 200, 8, 70}};
    const PlatformHeadlessMode second_modes[] = {{1280, 1024, 32, 0}};
    const PlatformHeadlessDisplay displays[] = {{"Main Screen", first_modes, 6, {1024, 768, 32, 75}},
                                                {"Side Screen", second_modes, 1, {1280, 1024, 16, 0}}};
    PlatformHeadlessSetDisplays(displays, 2);

    ASSERT_EQ(d3d->GetAdapterCount(), 2u);
    D3DADAPTER_IDENTIFIER9 identifier;
    ASSERT_EQ(d3d->GetAdapterIdentifier(1, 0, &identifier), S_OK);
    EXPECT_STREQ(identifier.Description, "Side Screen");
    EXPECT_STREQ(identifier.DeviceName, "\\\\.\\DISPLAY2");
    EXPECT_EQ(d3d->GetAdapterIdentifier(2, 0, &identifier), D3DERR_INVALIDCALL);

    struct Count {
        UINT adapter;
        D3DFORMAT format;
        UINT modes;
    };
    const Count counts[] = {{0, D3DFMT_X8R8G8B8, 2}, {0, D3DFMT_A8R8G8B8, 1}, {0, D3DFMT_R5G6B5, 1},
                            {0, D3DFMT_X1R5G5B5, 1}, {0, D3DFMT_R8G8B8, 0},  {0, D3DFMT_UNKNOWN, 0},
                            {1, D3DFMT_X8R8G8B8, 1}, {2, D3DFMT_X8R8G8B8, 0}};
    for (const Count &c : counts)
        EXPECT_EQ(d3d->GetAdapterModeCount(c.adapter, c.format), c.modes) << c.adapter << " " << c.format;

    D3DDISPLAYMODE mode;
    ASSERT_EQ(d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 1, &mode), S_OK);
    EXPECT_EQ(mode.Width, 1024u);
    EXPECT_EQ(mode.RefreshRate, 75u);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d3d->EnumAdapterModes(0, D3DFMT_X8R8G8B8, 2, &mode), D3DERR_INVALIDCALL);

    ASSERT_EQ(d3d->GetAdapterDisplayMode(1, &mode), S_OK);
    EXPECT_EQ(mode.Width, 1280u);
    EXPECT_EQ(mode.Height, 1024u);
    EXPECT_EQ(mode.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(d3d->GetAdapterDisplayMode(2, &mode), D3DERR_INVALIDCALL);

    // The device name finds the same display's desktop.
    DEVMODEA desktop;
    ASSERT_TRUE(EnumDisplaySettingsA(identifier.DeviceName, ENUM_REGISTRY_SETTINGS, &desktop));
    EXPECT_EQ(desktop.dmPelsWidth, 1280u);
    EXPECT_EQ(desktop.dmBitsPerPel, 16u);
    EXPECT_FALSE(EnumDisplaySettingsA("\\\\.\\DISPLAY3", ENUM_REGISTRY_SETTINGS, &desktop));
    EXPECT_FALSE(EnumDisplaySettingsA("DISPLAY1", ENUM_REGISTRY_SETTINGS, &desktop));
}

TEST_F(D3D9ObjectTest, OnlyHardwareDevicesWithTheBackendsFormatsAreOffered)
{
    D3DCAPS9 caps;
    ASSERT_EQ(d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), S_OK);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_HAL);
    EXPECT_TRUE(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT);
    EXPECT_EQ(d3d->GetDeviceCaps(0, D3DDEVTYPE_REF, &caps), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(d3d->GetDeviceCaps(0, D3DDEVTYPE_SW, &caps), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(d3d->GetDeviceCaps(1, D3DDEVTYPE_HAL, &caps), D3DERR_INVALIDCALL);

    struct Answers {
        HRESULT type, blending, depth, match;
    };
    auto check = [&](D3DFORMAT adapter, D3DFORMAT back_buffer, D3DFORMAT depth) {
        return Answers{d3d->CheckDeviceType(0, D3DDEVTYPE_HAL, adapter, back_buffer, TRUE),
                    d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, adapter, D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                           D3DRTYPE_TEXTURE, back_buffer),
                    d3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, adapter, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, depth),
                    d3d->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, adapter, back_buffer, depth)};
    };
    // Any back buffer GL makes, on the format the display shows.
    Answers shown = check(D3DFMT_X8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_D24S8);
    EXPECT_EQ(shown.type, S_OK);
    EXPECT_EQ(shown.blending, S_OK);
    EXPECT_EQ(shown.depth, S_OK);
    EXPECT_EQ(shown.match, S_OK);
    // The display shows no 16-bit format.
    Answers not_shown = check(D3DFMT_R5G6B5, D3DFMT_R5G6B5, D3DFMT_D16);
    EXPECT_EQ(not_shown.type, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(not_shown.blending, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(not_shown.depth, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(not_shown.match, D3DERR_NOTAVAILABLE);
    // Neither a back buffer nor a depth buffer.
    Answers not_made = check(D3DFMT_X8R8G8B8, D3DFMT_L8, D3DFMT_L8);
    EXPECT_EQ(not_made.type, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(not_made.blending, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(not_made.depth, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(not_made.match, D3DERR_NOTAVAILABLE);
    EXPECT_EQ(d3d->CheckDeviceType(0, D3DDEVTYPE_REF, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, TRUE), D3DERR_NOTAVAILABLE);
}

TEST_F(D3D9ObjectTest, MultisampleTypesAreThoseWithSampleCountsTheGraphicsMake)
{
    struct Case {
        std::vector<int> counts;
        D3DMULTISAMPLE_TYPE type;
        HRESULT result;
        DWORD levels;
    };
    const Case cases[] = {
        {{2, 4, 8}, D3DMULTISAMPLE_NONE, S_OK, 1},
        {{2, 4, 8}, D3DMULTISAMPLE_2_SAMPLES, S_OK, 1},
        {{2, 4, 8}, static_cast<D3DMULTISAMPLE_TYPE>(3), D3DERR_NOTAVAILABLE, 0},
        {{2, 4, 8}, D3DMULTISAMPLE_8_SAMPLES, S_OK, 1},
        {{2, 4, 8}, D3DMULTISAMPLE_16_SAMPLES, D3DERR_NOTAVAILABLE, 0},
        // Levels of 2, 4, 6 and 8 samples.
        {{2, 4, 8}, D3DMULTISAMPLE_NONMASKABLE, S_OK, 4},
        {{4}, D3DMULTISAMPLE_2_SAMPLES, D3DERR_NOTAVAILABLE, 0},
        {{4}, D3DMULTISAMPLE_NONMASKABLE, S_OK, 2},
        // Never more than the eight levels a back buffer can be asked for.
        {{16}, D3DMULTISAMPLE_NONMASKABLE, S_OK, 8},
        {{}, D3DMULTISAMPLE_NONMASKABLE, D3DERR_NOTAVAILABLE, 0},
        {{}, D3DMULTISAMPLE_NONE, S_OK, 1},
        {{2, 4, 8}, static_cast<D3DMULTISAMPLE_TYPE>(17), D3DERR_NOTAVAILABLE, 0},
    };
    for (const Case &c : cases) {
        PlatformHeadlessSetSampleCounts(c.counts.data(), static_cast<int>(c.counts.size()));
        DWORD levels = 99;
        EXPECT_EQ(d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, TRUE, c.type, &levels), c.result)
            << "type " << c.type << " with " << c.counts.size() << " counts";
        EXPECT_EQ(levels, c.levels) << "type " << c.type << " with " << c.counts.size() << " counts";
    }
    // Depth buffers are asked the same; other formats are not multisampled.
    EXPECT_EQ(d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_D24S8, FALSE, D3DMULTISAMPLE_NONE, nullptr),
              S_OK);
    EXPECT_EQ(d3d->CheckDeviceMultiSampleType(0, D3DDEVTYPE_HAL, D3DFMT_L8, FALSE, D3DMULTISAMPLE_NONE, nullptr),
              D3DERR_NOTAVAILABLE);
}

TEST_F(D3D9ObjectTest, ARecordingBackendAnswersTheFailuresAskedFor)
{
    D3D9RecordingFailCall("GetAdapterDisplayMode", E_FAIL);
    D3DDISPLAYMODE mode;
    EXPECT_EQ(d3d->GetAdapterDisplayMode(0, &mode), E_FAIL);
    EXPECT_EQ(d3d->GetAdapterDisplayMode(0, &mode), S_OK);
    EXPECT_EQ(mode.Width, 1920u);
}

} // namespace
