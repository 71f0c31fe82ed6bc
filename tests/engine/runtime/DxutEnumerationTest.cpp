// The enumeration of the headless desktop's adapters and the search for
// device settings through it: defaults, nearest sizes and formats, the
// preserve and closest options, adapters sharing a name, and failures.
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/runtime/DxutEnumeration.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const HRESULT NO_DEVICE = static_cast<HRESULT>(0x80040902);

const PlatformHeadlessMode DESKTOP_1080 = {1920, 1080, 32, 60};

class DxutEnumerationTest : public testing::Test {
protected:
    IDirect3D9 *d3d = nullptr;

    void SetUp() override
    {
        ResetRuntimeForTest();
        DxutEnumerationDestroy();
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }

    void TearDown() override
    {
        DxutEnumerationDestroy();
        d3d->Release();
        VirtualClock::Remove();
    }

    void SetDisplay(const std::vector<PlatformHeadlessMode> &modes, PlatformHeadlessMode desktop)
    {
        PlatformHeadlessSetModes(modes.data(), static_cast<int>(modes.size()), &desktop);
    }

    void SetDisplayNames(const std::vector<const char *> &names)
    {
        std::vector<PlatformHeadlessDisplay> displays;
        for (const char *name : names)
            displays.push_back({name, &DESKTOP_1080, 1, DESKTOP_1080});
        PlatformHeadlessSetDisplays(displays.data(), static_cast<int>(displays.size()));
    }

    HRESULT Enumerate(DxutIsDeviceAcceptableCB is_acceptable = nullptr)
    {
        EXPECT_TRUE(DxutEnumerationInit());
        return DxutEnumerationDoEnumerate(d3d, is_acceptable);
    }

    int AdapterCount()
    {
        EngLinkedList *adapters = nullptr;
        return DxutEnumerationGetAdapterInfoListNew(&adapters) ? adapters->GetNumElements() : -1;
    }

    _DxutEnumAdapterInfo *Adapter(int index)
    {
        EngLinkedList *adapters = nullptr;
        if (!DxutEnumerationGetAdapterInfoListNew(&adapters))
            return nullptr;
        return static_cast<_DxutEnumAdapterInfo *>(adapters->GetElementData(index, sizeof(_DxutEnumAdapterInfo)));
    }
};

// What the device object asks for: a window or full screen of that size,
// the adapter format of the depth in full screen, no anti-aliasing.
_DXUTDeviceSettings Wanted(bool windowed, UINT width, UINT height, D3DFORMAT adapter_format = D3DFMT_UNKNOWN)
{
    _DXUTDeviceSettings wanted = {};
    wanted.pp.Windowed = windowed;
    wanted.pp.BackBufferWidth = width;
    wanted.pp.BackBufferHeight = height;
    wanted.AdapterFormat = adapter_format;
    return wanted;
}

// The device object's options: the first adapter, the window or full
// screen kept, the nearest size and format.
_DXUTMatchOptions EngineOptions(bool format_wanted)
{
    _DXUTMatchOptions options = {};
    options.m_adapter_ordinal = DXUT_MATCH_PRESERVE;
    options.m_windowed = DXUT_MATCH_PRESERVE;
    options.m_resolution = DXUT_MATCH_CLOSEST;
    options.m_multisample = DXUT_MATCH_PRESERVE;
    if (format_wanted)
        options.m_adapter_format = DXUT_MATCH_CLOSEST;
    return options;
}

TEST_F(DxutEnumerationTest, NothingWantedGivesASmallWindowOnTheDesktopsFormat)
{
    struct Case {
        PlatformHeadlessMode desktop;
        D3DFORMAT format;
        D3DFORMAT depth;
    };
    const Case cases[] = {
        {{1280, 1024, 32, 60}, D3DFMT_X8R8G8B8, D3DFMT_D32},
        // Five bits a channel: the depth nearest 20 bits, the first of two.
        {{1280, 1024, 16, 60}, D3DFMT_R5G6B5, D3DFMT_D16},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.desktop.bits);
        SetDisplay({c.desktop, {800, 600, c.desktop.bits, 60}}, c.desktop);
        ASSERT_EQ(Enumerate(), S_OK);
        _DXUTDeviceSettings wanted = Wanted(false, 1600, 1200, D3DFMT_A4R4G4B4), found;
        ASSERT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, nullptr), S_OK);
        EXPECT_EQ(found.AdapterOrdinal, 0u);
        EXPECT_EQ(found.DeviceType, D3DDEVTYPE_HAL);
        EXPECT_EQ(found.AdapterFormat, c.format);
        EXPECT_EQ(found.BehaviorFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING);
        const D3DPRESENT_PARAMETERS &pp = found.pp;
        EXPECT_TRUE(pp.Windowed);
        EXPECT_EQ(pp.BackBufferWidth, 640u);
        EXPECT_EQ(pp.BackBufferHeight, 480u);
        EXPECT_EQ(pp.BackBufferFormat, c.format);
        EXPECT_EQ(pp.BackBufferCount, 1u);
        EXPECT_EQ(pp.MultiSampleType, D3DMULTISAMPLE_NONE);
        EXPECT_EQ(pp.SwapEffect, D3DSWAPEFFECT_DISCARD);
        EXPECT_TRUE(pp.EnableAutoDepthStencil);
        EXPECT_EQ(pp.AutoDepthStencilFormat, c.depth);
        EXPECT_EQ(pp.Flags, D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL);
        EXPECT_EQ(pp.FullScreen_RefreshRateInHz, 0u);
        EXPECT_EQ(pp.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
        EXPECT_EQ(pp.hDeviceWindow, nullptr);
    }
    EXPECT_EQ(StoredLines(), std::vector<std::string>());
}

TEST_F(DxutEnumerationTest, TheEnginesWantsGetTheNearestSizeAndFormat)
{
    SetDisplay({{640, 480, 32, 60}, {1024, 768, 32, 60}, {1024, 768, 16, 60}, {1280, 1024, 32, 60}},
               {1280, 1024, 32, 60});
    ASSERT_EQ(Enumerate(), S_OK);
    struct Case {
        const char *name;
        _DXUTDeviceSettings wanted;
        UINT width, height;
        D3DFORMAT format;
    };
    const Case cases[] = {
        {"a window", Wanted(true, 800, 600), 800, 600, D3DFMT_X8R8G8B8},
        {"a window larger than the desktop", Wanted(true, 1920, 1080), 1280, 1024, D3DFMT_X8R8G8B8},
        {"a window wider than the desktop", Wanted(true, 1600, 900), 1280, 900, D3DFMT_X8R8G8B8},
        // 280 pixels from 640 x 480, 392 from 1024 x 768.
        {"full screen between two modes", Wanted(false, 800, 600, D3DFMT_X8R8G8B8), 640, 480, D3DFMT_X8R8G8B8},
        {"full screen at 16 bits", Wanted(false, 1024, 768, D3DFMT_R5G6B5), 1024, 768, D3DFMT_R5G6B5},
        {"full screen at 16 bits near a 16-bit mode", Wanted(false, 1000, 700, D3DFMT_R5G6B5), 1024, 768,
         D3DFMT_R5G6B5},
        // No format earns a channel score; the desktop's wins.
        {"full screen at 24 bits", Wanted(false, 1000, 700, D3DFMT_UNKNOWN), 1024, 768, D3DFMT_X8R8G8B8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        _DXUTMatchOptions options = EngineOptions(!c.wanted.pp.Windowed);
        // In and out are one record, as the device object passes them.
        _DXUTDeviceSettings settings = c.wanted;
        ASSERT_EQ(DXUTFindValidDeviceSettings(&settings, &settings, &options), S_OK);
        EXPECT_EQ(settings.pp.Windowed, c.wanted.pp.Windowed);
        EXPECT_EQ(settings.pp.BackBufferWidth, c.width);
        EXPECT_EQ(settings.pp.BackBufferHeight, c.height);
        EXPECT_EQ(settings.AdapterFormat, c.format);
        EXPECT_EQ(settings.pp.BackBufferFormat, c.format);
        EXPECT_EQ(settings.pp.PresentationInterval,
                  c.wanted.pp.Windowed ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_DEFAULT);
    }
}

TEST_F(DxutEnumerationTest, FullScreenTakesTheRefreshRateNearestTheTarget)
{
    struct Case {
        const char *name;
        int match;
        UINT wanted_rate;
        int desktop_rate;
        UINT rate;
    };
    const Case cases[] = {
        {"the desktop's when not asked", DXUT_MATCH_IGNORE, 85, 72, 75},
        {"the display's own for a desktop that does not tell", DXUT_MATCH_IGNORE, 85, 0, 0},
        {"the nearest to the one asked", DXUT_MATCH_CLOSEST, 84, 72, 85},
        {"the display's own when asked", DXUT_MATCH_CLOSEST, 0, 72, 0},
        {"kept as asked", DXUT_MATCH_PRESERVE, 75, 72, 75},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetDisplay({{800, 600, 32, 60}, {800, 600, 32, 75}, {800, 600, 32, 85}, {1024, 768, 32, 72}},
                   {1024, 768, 32, c.desktop_rate});
        ASSERT_EQ(Enumerate(), S_OK);
        _DXUTDeviceSettings wanted = Wanted(false, 800, 600), found;
        wanted.pp.FullScreen_RefreshRateInHz = c.wanted_rate;
        _DXUTMatchOptions options = EngineOptions(false);
        options.m_refresh_rate = c.match;
        ASSERT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, &options), S_OK);
        EXPECT_EQ(found.pp.FullScreen_RefreshRateInHz, c.rate);
    }
    // A window shows at the desktop's rate.
    _DXUTDeviceSettings wanted = Wanted(true, 800, 600), found;
    wanted.pp.FullScreen_RefreshRateInHz = 75;
    _DXUTMatchOptions options = EngineOptions(false);
    options.m_refresh_rate = DXUT_MATCH_CLOSEST;
    ASSERT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, &options), S_OK);
    EXPECT_EQ(found.pp.FullScreen_RefreshRateInHz, 0u);
}

TEST_F(DxutEnumerationTest, PreservedSettingsAreKeptOrRefusedAndClosestOnesComeNear)
{
    // The default display: 1920 x 1080, 1280 x 1024, 1024 x 768, 800 x 600 at
    // 32 bits and 60 Hz; back buffers of 2, 4 or 8 samples.
    ASSERT_EQ(Enumerate(), S_OK);
    struct Case {
        const char *name;
        std::function<void(_DXUTDeviceSettings *, _DXUTMatchOptions *)> ask;
        HRESULT result;
        std::function<void(const _DXUTDeviceSettings &)> check;
    };
    auto multisample = [](int match, int type, DWORD quality, D3DSWAPEFFECT swap = D3DSWAPEFFECT_DISCARD) {
        return [=](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
            options->m_multisample = match;
            wanted->pp.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(type);
            wanted->pp.MultiSampleQuality = quality;
            wanted->pp.SwapEffect = swap;
        };
    };
    auto samples = [](int type, DWORD quality) {
        return [=](const _DXUTDeviceSettings &found) {
            EXPECT_EQ(found.pp.MultiSampleType, type);
            EXPECT_EQ(found.pp.MultiSampleQuality, quality);
        };
    };
    auto depth = [](int depth_match, int stencil_match, D3DFORMAT format) {
        return [=](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
            options->m_depth_format = depth_match;
            options->m_stencil_format = stencil_match;
            wanted->pp.AutoDepthStencilFormat = format;
        };
    };
    auto depth_is = [](D3DFORMAT format) {
        return [=](const _DXUTDeviceSettings &found) { EXPECT_EQ(found.pp.AutoDepthStencilFormat, format); };
    };
    auto count = [](int match, UINT wanted_count) {
        return [=](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
            options->m_back_buffer_count = match;
            wanted->pp.BackBufferCount = wanted_count;
        };
    };
    auto count_is = [](UINT found_count) {
        return [=](const _DXUTDeviceSettings &found) { EXPECT_EQ(found.pp.BackBufferCount, found_count); };
    };
    auto interval = [](int match, UINT wanted_interval) {
        return [=](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
            options->m_present_interval = match;
            wanted->pp.PresentationInterval = wanted_interval;
        };
    };
    auto interval_is = [](UINT found_interval) {
        return [=](const _DXUTDeviceSettings &found) { EXPECT_EQ(found.pp.PresentationInterval, found_interval); };
    };
    auto nothing = [](const _DXUTDeviceSettings &) {};

    const Case cases[] = {
        {"a type the graphics make", multisample(DXUT_MATCH_PRESERVE, 4, 0), S_OK, samples(4, 0)},
        {"a type they do not make", multisample(DXUT_MATCH_PRESERVE, 3, 0), NO_DEVICE, nothing},
        {"a quality past the type's one level", multisample(DXUT_MATCH_PRESERVE, 4, 1), NO_DEVICE, nothing},
        {"the last non-maskable level", multisample(DXUT_MATCH_PRESERVE, 1, 3), S_OK, samples(1, 3)},
        {"a type between two, the first found", multisample(DXUT_MATCH_CLOSEST, 3, 0), S_OK, samples(2, 0)},
        {"a quality beyond the levels, the last", multisample(DXUT_MATCH_CLOSEST, 1, 9), S_OK, samples(1, 3)},
        {"none without a discarding swap chain", multisample(DXUT_MATCH_CLOSEST, 4, 0, D3DSWAPEFFECT_COPY), S_OK,
         samples(0, 0)},
        {"none when not asked", multisample(DXUT_MATCH_IGNORE, 4, 0), S_OK, samples(0, 0)},
        {"a full-screen size of a mode",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             *wanted = Wanted(false, 1024, 768);
             options->m_resolution = DXUT_MATCH_PRESERVE;
         },
         S_OK,
         [](const _DXUTDeviceSettings &found) {
             EXPECT_EQ(found.pp.BackBufferWidth, 1024u);
             EXPECT_EQ(found.pp.BackBufferHeight, 768u);
         }},
        {"a full-screen size of no mode",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             *wanted = Wanted(false, 1000, 700);
             options->m_resolution = DXUT_MATCH_PRESERVE;
         },
         NO_DEVICE, nothing},
        {"an adapter format the display lacks",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             *wanted = Wanted(false, 1024, 768, D3DFMT_R5G6B5);
             options->m_adapter_format = DXUT_MATCH_PRESERVE;
         },
         NO_DEVICE, nothing},
        {"a back-buffer format of its own",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             wanted->pp.BackBufferFormat = D3DFMT_A8R8G8B8;
             options->m_back_buffer_format = DXUT_MATCH_PRESERVE;
         },
         S_OK,
         [](const _DXUTDeviceSettings &found) {
             EXPECT_EQ(found.AdapterFormat, D3DFMT_X8R8G8B8);
             EXPECT_EQ(found.pp.BackBufferFormat, D3DFMT_A8R8G8B8);
         }},
        {"a depth-stencil format kept", depth(DXUT_MATCH_PRESERVE, DXUT_MATCH_PRESERVE, D3DFMT_D24S8), S_OK,
         depth_is(D3DFMT_D24S8)},
        {"the depth bits kept, no stencil wanted", depth(DXUT_MATCH_PRESERVE, DXUT_MATCH_IGNORE, D3DFMT_D24S8), S_OK,
         depth_is(D3DFMT_D24X8)},
        {"the stencil bits kept, the depth nearest", depth(DXUT_MATCH_CLOSEST, DXUT_MATCH_PRESERVE, D3DFMT_D15S1),
         S_OK, depth_is(D3DFMT_D15S1)},
        {"a depth format no back buffer has", depth(DXUT_MATCH_PRESERVE, DXUT_MATCH_PRESERVE, D3DFMT_D24FS8),
         NO_DEVICE, nothing},
        {"the nearest depth", depth(DXUT_MATCH_CLOSEST, DXUT_MATCH_IGNORE, D3DFMT_D16), S_OK, depth_is(D3DFMT_D16)},
        {"too many back buffers", count(DXUT_MATCH_CLOSEST, 5), S_OK, count_is(3)},
        {"no back buffer", count(DXUT_MATCH_CLOSEST, 0), S_OK, count_is(1)},
        {"two back buffers kept", count(DXUT_MATCH_PRESERVE, 2), S_OK, count_is(2)},
        {"an interval a window can have", interval(DXUT_MATCH_CLOSEST, D3DPRESENT_INTERVAL_ONE), S_OK,
         interval_is(D3DPRESENT_INTERVAL_ONE)},
        {"an interval a window cannot have", interval(DXUT_MATCH_CLOSEST, D3DPRESENT_INTERVAL_TWO), S_OK,
         interval_is(D3DPRESENT_INTERVAL_IMMEDIATE)},
        {"that interval kept", interval(DXUT_MATCH_PRESERVE, D3DPRESENT_INTERVAL_TWO), NO_DEVICE, nothing},
        {"a swap effect that exists",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             wanted->pp.SwapEffect = D3DSWAPEFFECT_COPY;
             options->m_swap_effect = DXUT_MATCH_CLOSEST;
         },
         S_OK, [](const _DXUTDeviceSettings &found) { EXPECT_EQ(found.pp.SwapEffect, D3DSWAPEFFECT_COPY); }},
        {"a swap effect that does not",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             wanted->pp.SwapEffect = static_cast<D3DSWAPEFFECT>(9);
             options->m_swap_effect = DXUT_MATCH_CLOSEST;
         },
         S_OK, [](const _DXUTDeviceSettings &found) { EXPECT_EQ(found.pp.SwapEffect, D3DSWAPEFFECT_DISCARD); }},
        {"no vertex processing named",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             wanted->BehaviorFlags = 0x2;
             options->m_vertex_processing = DXUT_MATCH_CLOSEST;
         },
         S_OK,
         [](const _DXUTDeviceSettings &found) {
             EXPECT_EQ(found.BehaviorFlags, 0x2u | D3DCREATE_HARDWARE_VERTEXPROCESSING);
         }},
        {"present flags kept, the depth buffer discarded",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             wanted->pp.Flags = 0x1;
             options->m_present_flags = DXUT_MATCH_CLOSEST;
         },
         S_OK,
         [](const _DXUTDeviceSettings &found) {
             EXPECT_EQ(found.pp.Flags, 0x1u | D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL);
         }},
        {"a refresh rate the display lacks",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *options) {
             *wanted = Wanted(false, 1024, 768);
             wanted->pp.FullScreen_RefreshRateInHz = 75;
             options->m_refresh_rate = DXUT_MATCH_PRESERVE;
         },
         NO_DEVICE, nothing},
        {"the second adapter, which does not exist",
         [](_DXUTDeviceSettings *wanted, _DXUTMatchOptions *) { wanted->AdapterOrdinal = 1; }, NO_DEVICE, nothing},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        _DXUTDeviceSettings wanted = Wanted(true, 800, 600), found = {};
        _DXUTMatchOptions options = EngineOptions(false);
        c.ask(&wanted, &options);
        ASSERT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, &options), c.result);
        if (c.result == S_OK)
            c.check(found);
    }
}

TEST_F(DxutEnumerationTest, WhatTheEnumerationListsOfAnAdapter)
{
    SetDisplay({{1024, 768, 32, 75}, {800, 600, 16, 60}, {1024, 768, 32, 60}, {800, 600, 32, 60}, {320, 200, 8, 70}},
               {1024, 768, 32, 60});
    // The device object's own callback asks its Direct3D object.
    eng_d3d = d3d;
    HRESULT result = Enumerate(EngDeviceDX9IsDeviceAcceptableCB);
    eng_d3d = nullptr;
    ASSERT_EQ(result, S_OK);
    EXPECT_TRUE(DxutEnumerationIsDone());
    ASSERT_EQ(AdapterCount(), 1);
    _DxutEnumAdapterInfo *adapter = Adapter(0);
    ASSERT_NE(adapter, nullptr);
    EXPECT_STREQ(adapter->m_unique_description, "Headless Display");

    // Modes of the engine's formats, by width, height, format and refresh rate.
    const D3DDISPLAYMODE expected_modes[] = {{800, 600, 60, D3DFMT_X8R8G8B8},
                                             {800, 600, 60, D3DFMT_R5G6B5},
                                             {1024, 768, 60, D3DFMT_X8R8G8B8},
                                             {1024, 768, 75, D3DFMT_X8R8G8B8}};
    ASSERT_EQ(adapter->m_display_modes->GetNumElements(), 4);
    for (int i = 0; i < 4; i++) {
        auto *mode = static_cast<D3DDISPLAYMODE *>(adapter->m_display_modes->GetElementData(i, sizeof(D3DDISPLAYMODE)));
        ASSERT_NE(mode, nullptr);
        EXPECT_EQ(mode->Width, expected_modes[i].Width) << i;
        EXPECT_EQ(mode->RefreshRate, expected_modes[i].RefreshRate) << i;
        EXPECT_EQ(mode->Format, expected_modes[i].Format) << i;
    }

    // One hardware device; a combination for every back-buffer format on
    // each of the two formats shown, windowed and full screen.
    ASSERT_EQ(adapter->m_device_infos->GetNumElements(), 1);
    auto *device = static_cast<_DxutEnumDeviceInfo *>(adapter->m_device_infos->GetElementData(0, sizeof(_DxutEnumDeviceInfo)));
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->m_device_type, D3DDEVTYPE_HAL);
    EXPECT_EQ(device->m_settings_combos->GetNumElements(), 2 * 8 * 2);
    auto *combo = static_cast<_DxutEnumDeviceSettingsCombo *>(
        device->m_settings_combos->GetElementData(1, sizeof(_DxutEnumDeviceSettingsCombo)));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->m_adapter_format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(combo->m_back_buffer_format, D3DFMT_R8G8B8);
    EXPECT_EQ(combo->m_windowed, 1);
    EXPECT_EQ(combo->m_adapter_info, adapter);
    EXPECT_EQ(combo->m_device_info, device);

    auto values = [](EngLinkedList *list) {
        std::vector<unsigned> found;
        for (int i = 0; i < list->GetNumElements(); i++)
            found.push_back(*static_cast<unsigned *>(list->GetElementData(i, sizeof(unsigned))));
        return found;
    };
    EXPECT_EQ(values(combo->m_depth_stencil_formats),
              (std::vector<unsigned>{D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32}));
    EXPECT_EQ(values(combo->m_multisample_types), (std::vector<unsigned>{0, 1, 2, 4, 8}));
    EXPECT_EQ(values(combo->m_multisample_qualities), (std::vector<unsigned>{1, 4, 1, 1, 1}));
    // A window is shown at once or at every refresh, never more seldom.
    EXPECT_EQ(values(combo->m_present_intervals),
              (std::vector<unsigned>{D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                                     D3DPRESENT_INTERVAL_ONE}));
    EXPECT_EQ(combo->m_ds_ms_conflicts->GetNumElements(), 0);
}

TEST_F(DxutEnumerationTest, TheAcceptanceCallbackChoosesTheBackBuffers)
{
    auto only_16_bits = [](D3DCAPS9 *, D3DFORMAT, D3DFORMAT back_buffer_format, char) -> char {
        return back_buffer_format == D3DFMT_R5G6B5;
    };
    ASSERT_EQ(Enumerate(only_16_bits), S_OK);
    _DXUTDeviceSettings wanted = Wanted(true, 800, 600), found;
    ASSERT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, nullptr), S_OK);
    EXPECT_EQ(found.AdapterFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(found.pp.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(found.pp.AutoDepthStencilFormat, D3DFMT_D16);
}

TEST_F(DxutEnumerationTest, WithoutAFittingCombinationTheSearchSaysNoCompatibleDevice)
{
    // Full screen on a display without modes.
    SetDisplay({}, DESKTOP_1080);
    ASSERT_EQ(Enumerate(), S_OK);
    _DXUTDeviceSettings wanted = Wanted(false, 800, 600), found;
    _DXUTMatchOptions options = EngineOptions(false);
    EXPECT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, &options), NO_DEVICE);
    wanted.pp.Windowed = TRUE;
    EXPECT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, &options), S_OK);

    // Not even no multisampling: no combination, no device, no adapter.
    D3D9RecordingFailCall("CheckDeviceMultiSampleType", D3DERR_NOTAVAILABLE, -1);
    ASSERT_EQ(Enumerate(), S_OK);
    EXPECT_EQ(AdapterCount(), 0);
    EXPECT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, nullptr), NO_DEVICE);
    EXPECT_EQ(StoredLines(), std::vector<std::string>());
}

TEST_F(DxutEnumerationTest, AdaptersSharingADescriptionAreToldApartByOrdinal)
{
    struct Case {
        std::vector<const char *> names;
        std::vector<std::string> descriptions;
    };
    const Case cases[] = {
        {{"Screen", "SCREEN"}, {"Screen (#0)", "SCREEN (#1)"}},
        {{"Left", "Middle", "left"}, {"Left (#0)", "Middle (#1)", "left (#2)"}},
        {{"Left", "Right"}, {"Left", "Right"}},
        {{"Only"}, {"Only"}},
    };
    for (const Case &c : cases) {
        SetDisplayNames(c.names);
        ASSERT_EQ(Enumerate(), S_OK);
        ASSERT_EQ(AdapterCount(), static_cast<int>(c.descriptions.size()));
        for (size_t i = 0; i < c.descriptions.size(); i++) {
            _DxutEnumAdapterInfo *adapter = Adapter(static_cast<int>(i));
            ASSERT_NE(adapter, nullptr);
            EXPECT_EQ(adapter->m_adapter_ordinal, i);
            EXPECT_EQ(adapter->m_unique_description, c.descriptions[i]);
        }
    }
    // An adapter whose identity cannot be had is left out.
    SetDisplayNames({"Screen", "Screen"});
    D3D9RecordingFailCall("GetAdapterIdentifier", E_FAIL);
    ASSERT_EQ(Enumerate(), S_OK);
    EXPECT_TRUE(WasStored(" <ERROR>  ( DxutEnumerationDoEnumerate )    GetAdapterIdentifier: An undetermined error "
                          "occurred inside the Direct3D subsystem."));
    _DxutEnumAdapterInfo *adapter = nullptr;
    EXPECT_FALSE(DxutEnumerationGetAdapterInfoNew(0, &adapter));
    ASSERT_TRUE(DxutEnumerationGetAdapterInfoNew(1, &adapter));
    EXPECT_STREQ(adapter->m_unique_description, "Screen");
}

TEST_F(DxutEnumerationTest, MisuseIsToldAndChangesNothing)
{
    _DXUTDeviceSettings wanted = Wanted(true, 800, 600), found = {};
    // No enumeration yet.
    EXPECT_FALSE(DxutEnumerationIsDone());
    EXPECT_EQ(DxutEnumerationDoEnumerate(d3d, nullptr), E_FAIL);
    EXPECT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, nullptr), E_FAIL);
    EXPECT_TRUE(WasStored(" <ERROR>  ( DxutEnumerationDoEnumerate )    No dxut_enum"));
    EXPECT_TRUE(WasStored(" <ERROR>  ( DXUTFindValidDeviceSettings )    No dxut_enum"));

    // Made, not yet listed; then listing without a Direct3D object.
    ASSERT_TRUE(DxutEnumerationInit());
    EXPECT_EQ(DXUTFindValidDeviceSettings(&found, &wanted, nullptr), E_FAIL);
    EXPECT_EQ(DXUTFindValidDeviceSettings(nullptr, &wanted, nullptr), E_FAIL);
    eng_d3d = nullptr;
    EXPECT_EQ(DxutEnumerationDoEnumerate(nullptr, nullptr), E_FAIL);
    EngLinkedList *adapters = nullptr;
    EXPECT_FALSE(DxutEnumerationGetAdapterInfoListNew(&adapters));
    const std::vector<std::pair<std::string, std::string>> popups = {
        {"DXUTFindValidDeviceSettings", "Enumeration not done"},
        {"DXUTFindValidDeviceSettings", "Invalid Arguments"},
        {"DxutEnumerationDoEnumerate", "No Direct 3D Object"}};
    ASSERT_EQ(TestHooks::message_boxes.size(), popups.size());
    for (size_t i = 0; i < popups.size(); i++) {
        EXPECT_EQ(TestHooks::message_boxes[i].caption, popups[i].first);
        EXPECT_EQ(TestHooks::message_boxes[i].text, popups[i].second);
    }
    EXPECT_EQ(found.pp.BackBufferWidth, 0u);

    // Listed, then gone.
    ASSERT_EQ(DxutEnumerationDoEnumerate(d3d, nullptr), S_OK);
    EXPECT_TRUE(DxutEnumerationIsDone());
    DxutEnumerationDestroy();
    EXPECT_EQ(dxut_enum, nullptr);
    EXPECT_FALSE(DxutEnumerationIsDone());
    _DxutEnumAdapterInfo *adapter = nullptr;
    EXPECT_FALSE(DxutEnumerationGetAdapterInfoNew(0, &adapter));
}

} // namespace
