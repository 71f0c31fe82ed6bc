// The settings search and the display modes on the real display: the
// screen's own mode is listed, and devices are made from what the search
// answers, with every anti-aliasing choice the mode list offers.
#include "engine/runtime/DxutEnumeration.h"
#include "engine/runtime/EngResModes.h"
#include "platform/win32/Win32Display.h"
#include "tests/support/DisplayTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class DxutEnumerationDisplayTest : public DisplayTest<> {
protected:
    DEVMODEA desktop = {};

    void SetUp() override
    {
        DisplayTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &desktop));
    }
};

TEST_F(DxutEnumerationDisplayTest, TheScreensModeIsListed)
{
    EngResModes modes;
    ASSERT_TRUE(modes.IsSetup());
    _EngResMode *windowed = modes.GetWindowedMode();
    ASSERT_NE(windowed, nullptr);
    EXPECT_EQ(windowed->width, static_cast<int>(desktop.dmPelsWidth));
    EXPECT_EQ(windowed->height, static_cast<int>(desktop.dmPelsHeight));
    EXPECT_EQ(windowed->bits, 32);
    EXPECT_EQ(windowed->format, D3DFMT_X8R8G8B8);
    EXPECT_STREQ(EngResModesGetMultisampleText_DX9(&windowed->multisamples[0]), "Off");
    int width = 1, height = 1, bits = 32;
    ASSERT_TRUE(modes.GetClosestFullScreenModeToMode(&width, &height, &bits, nullptr));
    bool listed = false;
    for (int i = 0; i < modes.GetNumModes(); i++)
        listed = listed || (modes.GetMode(i)->width == windowed->width && modes.GetMode(i)->height == windowed->height);
    EXPECT_TRUE(listed);

    IDirect3D9 *d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    ASSERT_TRUE(DxutEnumerationInit());
    ASSERT_EQ(DxutEnumerationDoEnumerate(d3d, nullptr), S_OK);
    _DxutEnumAdapterInfo *adapter = nullptr;
    ASSERT_TRUE(DxutEnumerationGetAdapterInfoNew(0, &adapter));
    EXPECT_STRNE(adapter->m_unique_description, "");
    EXPECT_STREQ(adapter->m_identifier.DeviceName, "\\\\.\\DISPLAY1");
    bool desktop_listed = false;
    for (int i = 0; i < adapter->m_display_modes->GetNumElements(); i++) {
        auto *mode = static_cast<D3DDISPLAYMODE *>(adapter->m_display_modes->GetElementData(i, sizeof(D3DDISPLAYMODE)));
        desktop_listed = desktop_listed || (mode->Width == desktop.dmPelsWidth && mode->Height == desktop.dmPelsHeight &&
                                            mode->Format == D3DFMT_X8R8G8B8);
    }
    EXPECT_TRUE(desktop_listed);
    // A window larger than the screen is cut to it.
    _DXUTDeviceSettings settings = {};
    settings.pp.Windowed = TRUE;
    settings.pp.BackBufferWidth = desktop.dmPelsWidth + 100;
    settings.pp.BackBufferHeight = 200;
    _DXUTMatchOptions options = {};
    options.m_windowed = DXUT_MATCH_PRESERVE;
    options.m_resolution = DXUT_MATCH_CLOSEST;
    ASSERT_EQ(DXUTFindValidDeviceSettings(&settings, &settings, &options), S_OK);
    EXPECT_EQ(settings.pp.BackBufferWidth, desktop.dmPelsWidth);
    EXPECT_EQ(settings.pp.BackBufferHeight, 200u);
    EXPECT_EQ(settings.AdapterFormat, D3DFMT_X8R8G8B8);
    DxutEnumerationDestroy();
    d3d->Release();
    EXPECT_TRUE(StoredLines().empty());
}

TEST_F(DxutEnumerationDisplayTest, EveryAntiAliasingChoiceListedMakesADeviceThatDraws)
{
    std::vector<_EngResModeMultisample> choices;
    {
        EngResModes modes;
        ASSERT_TRUE(modes.IsSetup());
        _EngResMode *windowed = modes.GetWindowedMode();
        choices.assign(windowed->multisamples, windowed->multisamples + windowed->multisample_count);
    }
    for (const _EngResModeMultisample &choice : choices) {
        SCOPED_TRACE(EngResModesGetMultisampleText_DX9(&choice));
        TearDown();
        SetUp();
        parms.aa_type = choice.type;
        parms.aa_quality = choice.quality;
        ASSERT_EQ(Open(), 1);
        const _DXUTDeviceSettings *settings = eng_device_dx9->GetSettings();
        EXPECT_EQ(settings->pp.MultiSampleType, choice.type);
        EXPECT_EQ(settings->pp.MultiSampleQuality, static_cast<DWORD>(choice.quality));
        // The search's depth buffer is one the display's GL makes.
        EXPECT_TRUE(settings->pp.EnableAutoDepthStencil);
        EXPECT_NE(settings->pp.AutoDepthStencilFormat, D3DFMT_UNKNOWN);

        eng_device->SetClearColour(0.2f, 0.4f, 0.6f);
        eng_device->ClearBackBufferAndZBuffer();
        RECT rect = {10, 10, 11, 11};
        DWORD argb = 0;
        ASSERT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &rect, &argb), S_OK);
        EXPECT_NEAR(static_cast<int>((argb >> 16) & 0xFF), 0x33, 1);
        EXPECT_NEAR(static_cast<int>((argb >> 8) & 0xFF), 0x66, 1);
        EXPECT_NEAR(static_cast<int>(argb & 0xFF), 0x99, 1);
        EXPECT_TRUE(StoredLines().empty());
    }
}

} // namespace
