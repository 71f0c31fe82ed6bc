#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "platform/win32/Win32Input.h"
#include "engine/sound/EngSound.h"
#include "platform/win32/Win32MessageBox.h"

#include <gtest/gtest.h>

namespace {

const int kKeyA = 'A';

const std::vector<std::string> RECREATION_HOOKS = {
    "PreDestroyGraphicsObjectsCB", "DestroyGraphicsObjectsCB",    "PostDestroyGraphicsObjectsCB",
    "PreCreateGraphicsObjectsCB",  "CreateGraphicsObjectsCB",     "PostCreateGraphicsObjectsCB",
    "GraphicsObjectsCreatedCB"};

std::vector<std::string> Joined(std::vector<std::string> first, const std::vector<std::string> &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class EngWindowTest : public RecordingProgramTest {
protected:

    EngWindow *Open()
    {
        EXPECT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        program->TakeHooks();
        D3D9RecordingReset();
        return program->GetWindow();
    }

    HWND Handle() { return program->GetWindow()->GetWindowHandle(); }

    RECT OuterRect()
    {
        RECT rect = {0, 0, 0, 0};
        GetWindowRect(Handle(), &rect);
        return rect;
    }
};

TEST_F(EngWindowTest, TheScreenMeasuresFollowTheSize)
{
    EngWindow window(program, "Measures");
    struct Case {
        int width, height;
        float ratio_x, ratio_y, unit_x, font_x, font_y;
        char portrait;
        int orientation;
    };
    const Case cases[] = {
        {1280, 720, 2.0f, 1.5f, 0.5f, 0.75f, 1.0f, 0, EO_LANDSCAPE},
        {800, 600, 1.25f, 1.25f, 0.8f, 1.0f, 1.0f, 0, EO_LANDSCAPE},
        {800, 900, 1.25f, 1.875f, 0.8f, 1.0f, 800.0f / 900.0f, 1, EO_PORTRAIT},
        {640, 640, 1.0f, 4.0f / 3.0f, 1.0f, 1.0f, 1.0f, 0, EO_LANDSCAPE},
    };
    for (const Case &c : cases) {
        window.SetScreenMetrics(1, c.width, c.height, 32, 60);
        EXPECT_EQ(eng_screen_width, c.width);
        EXPECT_EQ(eng_screen_height, c.height);
        EXPECT_FLOAT_EQ(eng_screen_ratio_x, c.ratio_x) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(eng_screen_ratio_y, c.ratio_y) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(eng_screen_unit_x, c.unit_x) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(eng_screen_unit_y, 480.0f / c.height) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(eng_screen_aspect, static_cast<float>(c.width) / c.height);
        EXPECT_FLOAT_EQ(eng_screen_aspect_inv, static_cast<float>(c.height) / c.width);
        EXPECT_FLOAT_EQ(eng_font_scale_x, c.font_x) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(eng_font_scale_y, c.font_y) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(eng_font_scale_y_plain, c.font_y);
        EXPECT_EQ(eng_screen_portrait, c.portrait);
        EXPECT_EQ(EngMainGetOrientation(), c.orientation);
    }

    // Values that are not usable keep the ones in force.
    window.SetScreenMetrics(2, 0, -5, 0, -1);
    EXPECT_EQ(eng_screen_windowed, 1);
    EXPECT_EQ(eng_screen_width, 640);
    EXPECT_EQ(eng_screen_height, 640);
    EXPECT_EQ(eng_screen_bits, 32);
    EXPECT_EQ(eng_screen_refresh_rate, 60);
    window.SetScreenMetrics(0, 1024, 0, 16, 0);
    EXPECT_EQ(eng_screen_windowed, 0);
    EXPECT_EQ(eng_screen_width, 1024);
    EXPECT_EQ(eng_screen_height, 640);
    EXPECT_EQ(eng_screen_bits, 16);
}

TEST_F(EngWindowTest, AWindowIsPlacedOnTheWorkArea)
{
    struct Case {
        int area_left, area_top, area_width, area_height;
        int x, y, width, height;
        RECT outer;
        int client_width, client_height;
    };
    const Case cases[] = {
        // Centred: the outer rectangle (client plus frame) sits in the middle.
        {0, 0, 1920, 1040, -1, -1, 1024, 768, {440, 117, 1480, 924}, 1024, 768},
        // Too big: the client is cut to the work area, then the outer size.
        {0, 0, 1920, 1040, -1, -1, 2000, 1200, {0, 0, 1920, 1040}, 1904, 1001},
        // A work area that does not start at the desktop's corner.
        {100, 50, 1280, 1000, -1, 0, 800, 600, {332, 231, 1148, 870}, 800, 600},
        // A stored position is used as it is.
        {0, 0, 1920, 1040, 10, 20, 800, 600, {10, 20, 826, 659}, 800, 600},
    };
    for (const Case &c : cases) {
        TearDown();
        SetUp();
        PlatformHeadlessSetWorkArea(c.area_left, c.area_top, c.area_width, c.area_height);
        parms = WindowParms(1, c.width, c.height);
        parms.x = c.x;
        parms.y = c.y;
        Open();
        RECT outer = OuterRect();
        EXPECT_EQ(outer.left, c.outer.left) << c.width << "x" << c.height;
        EXPECT_EQ(outer.top, c.outer.top) << c.width << "x" << c.height;
        EXPECT_EQ(outer.right, c.outer.right) << c.width << "x" << c.height;
        EXPECT_EQ(outer.bottom, c.outer.bottom) << c.width << "x" << c.height;
        EXPECT_EQ(eng_screen_width, c.client_width);
        EXPECT_EQ(eng_screen_height, c.client_height);
        EXPECT_EQ(eng_screen_windowed, 1);
    }
}

TEST_F(EngWindowTest, AFullScreenWindowTakesTheModesSize)
{
    parms = WindowParms(0, 1280, 1024);
    Open();
    RECT outer = OuterRect();
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(outer.right, 1280);
    EXPECT_EQ(outer.bottom, 1024);
    EXPECT_EQ(eng_screen_windowed, 0);
    EXPECT_EQ(eng_screen_width, 1280);
    EXPECT_EQ(eng_screen_height, 1024);
    EXPECT_EQ(eng_screen_bits, 32);
    EXPECT_EQ(eng_screen_refresh_rate, 60);
}

TEST_F(EngWindowTest, CreateRecordsTheAntiAliasingChoice)
{
    // The third level of the non-maskable type: a choice the headless
    // desktop's graphics offer.
    parms.reserved = 7;
    parms.aa_type = 1;
    parms.aa_quality = 2;
    EngWindow *window = Open();
    EXPECT_EQ(eng_screen_reserved, 7);
    EXPECT_EQ(eng_screen_aa_type, 1);
    EXPECT_EQ(eng_screen_aa_quality, 2);
    EXPECT_EQ(window->GetCreateParms()->aa_type, 1);
}

TEST_F(EngWindowTest, ASettledResizeRecreatesTheDeviceOnce)
{
    EngWindow *window = Open();
    PlatformHeadlessResizeWindow(Handle(), 800, 900);
    PumpAll(window);
    EXPECT_EQ(program->TakeHooks(),
              Joined(RECREATION_HOOKS, {"GraphicsObjectsCreatedCB", "OrientationChangedCB(portrait)"}));
    EXPECT_EQ(DeviceLifeCalls(), (std::vector<std::string>{"Release device", "CreateDevice 800x900 windowed"}));
    EXPECT_EQ(eng_screen_width, 800);
    EXPECT_EQ(eng_screen_height, 900);
    EXPECT_TRUE(eng_screen_portrait);
    D3DVIEWPORT9 viewport;
    ASSERT_NE(eng_device->GetViewport(&viewport), nullptr);
    EXPECT_EQ(viewport.Width, 800u);
    EXPECT_EQ(viewport.Height, 900u);

    // The same size again changes nothing.
    PlatformHeadlessResizeWindow(Handle(), 800, 900);
    PumpAll(window);
    EXPECT_TRUE(program->TakeHooks().empty());
}

TEST_F(EngWindowTest, ARequestedRecreationHappensAtTheNextPump)
{
    EngWindow *window = Open();
    window->RequestDeviceRecreation();
    EXPECT_TRUE(program->TakeHooks().empty());
    window->PumpMessages();
    EXPECT_EQ(program->TakeHooks(), RECREATION_HOOKS);
    window->PumpMessages();
    EXPECT_TRUE(program->TakeHooks().empty());
}

TEST_F(EngWindowTest, TogglingRebuildsWindowAndDeviceWithoutTheDeviceHooks)
{
    parms = WindowParms(1, 1000, 700);
    EngWindow *window = Open();

    ASSERT_EQ(window->ToggleFullscreenMode(), 1);
    const std::vector<std::string> toggle_hooks = {
        "PreDestroyGraphicsObjectsCB", "DestroyGraphicsObjectsCB", "PostDestroyGraphicsObjectsCB",
        "PreCreateWindowCB",           "PreCreateGraphicsObjectsCB", "CreateGraphicsObjectsCB",
        "PostCreateGraphicsObjectsCB", "GraphicsObjectsCreatedCB",  "GraphicsObjectsCreatedCB"};
    EXPECT_EQ(program->TakeHooks(), toggle_hooks);
    // The nearest full-screen mode at the same depth.
    EXPECT_EQ(eng_screen_windowed, 0);
    EXPECT_EQ(eng_screen_width, 1024);
    EXPECT_EQ(eng_screen_height, 768);
    EXPECT_EQ(eng_main_window, window);
    EXPECT_NE(eng_device, nullptr);
    // The old window's end did not end the program.
    EXPECT_FALSE(program->GetExitFlag());
    EXPECT_FALSE(WasStored(" :  QuitMainLoop@EngProgram > Exiting."));

    ASSERT_EQ(window->ToggleFullscreenMode(), 1);
    EXPECT_EQ(program->TakeHooks(), toggle_hooks);
    // Back in a window at the desktop's top-left corner, the client as it was.
    EXPECT_EQ(eng_screen_windowed, 1);
    RECT outer = OuterRect();
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(eng_screen_width, 1024);
    EXPECT_EQ(eng_screen_height, 768);
    EXPECT_EQ(D3D9GetLiveDeviceCount(), 1);
}

TEST_F(EngWindowTest, AToggleWithoutModesLeavesEverythingAsItWas)
{
    EngWindow *window = Open();
    HWND before = Handle();
    PlatformHeadlessMode desktop = {1920, 1080, 32, 60};
    PlatformHeadlessSetModes(nullptr, 0, &desktop);

    EXPECT_EQ(window->ToggleFullscreenMode(), 0);
    EXPECT_TRUE(program->TakeHooks().empty());
    EXPECT_EQ(Handle(), before);
    EXPECT_NE(eng_device, nullptr);
    EXPECT_EQ(eng_screen_windowed, 1);
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngResModes::GetModesAvailable )    No modes."));

    // Nothing is left half-done: activation is still followed and closing
    // the window still ends the program.
    PostMessageA(Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    PostMessageA(Handle(), WM_CLOSE, 0, 0);
    char pumped;
    while ((pumped = window->PumpMessages()) == 2) {
    }
    EXPECT_EQ(pumped, 0) << "the quit message";
    EXPECT_EQ(program->TakeHooks(), (std::vector<std::string>{"ActivatedCB(0)"}));
    EXPECT_TRUE(program->GetExitFlag());
}

TEST_F(EngWindowTest, AToggleThatFailsOnceTheWindowIsGoneEndsTheProgram)
{
    EngWindow *window = Open();
    EXPECT_EXIT(
        {
            D3D9RecordingFailCall("CreateDevice", E_FAIL);
            window->ToggleFullscreenMode();
        },
        testing::ExitedWithCode(255), "");
}

TEST_F(EngWindowTest, WithoutADeviceThereIsNothingToToggle)
{
    EngWindow window(program, "No device");
    EXPECT_EQ(window.ToggleFullscreenMode(), 0);
    EXPECT_EQ(StoredLines(),
              (std::vector<std::string>{" <ERROR>  ( EngWindow::ToggleFullscreenMode )    Device not created"}));
}

TEST_F(EngWindowTest, DeactivationKeepsTheDeviceOfAWindow)
{
    EngWindow *window = Open();
    PostMessageA(Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    PumpAll(window);
    EXPECT_EQ(program->TakeHooks(), (std::vector<std::string>{"ActivatedCB(0)"}));
    EXPECT_NE(eng_device, nullptr);
    EXPECT_FALSE(window->IsActive());

    eng_main_key_states[VK_MENU] = 2;
    eng_main_key_states[VK_F10] = 2;
    eng_main_key_states[kKeyA] = 2;
    PostMessageA(Handle(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
    PumpAll(window);
    EXPECT_EQ(program->TakeHooks(), (std::vector<std::string>{"ActivatedCB(1)"}));
    EXPECT_EQ(eng_main_key_states[VK_MENU], 0);
    EXPECT_EQ(eng_main_key_states[VK_F10], 0);
    EXPECT_EQ(eng_main_key_states[kKeyA], 2);
}

TEST_F(EngWindowTest, AFullScreenProgramLetsGoOfTheDeviceWhileInactive)
{
    parms = WindowParms(0, 1024, 768);
    EngWindow *window = Open();
    PostMessageA(Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    PumpAll(window);
    EXPECT_EQ(program->TakeHooks(),
              (std::vector<std::string>{"PreDestroyGraphicsObjectsCB", "DestroyGraphicsObjectsCB",
                                        "PostDestroyGraphicsObjectsCB", "WindowMinimisedCB(1)", "ActivatedCB(0)"}));
    EXPECT_EQ(eng_device, nullptr);
    EXPECT_TRUE(IsIconic(Handle()));

    PostMessageA(Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    PumpAll(window);
    EXPECT_EQ(program->TakeHooks(),
              (std::vector<std::string>{"WindowMinimisedCB(0)", "PreCreateGraphicsObjectsCB", "CreateGraphicsObjectsCB",
                                        "PostCreateGraphicsObjectsCB", "GraphicsObjectsCreatedCB", "ActivatedCB(1)"}));
    EXPECT_NE(eng_device, nullptr);
    EXPECT_FALSE(IsIconic(Handle()));
}

TEST_F(EngWindowTest, AFullScreenRecreationComesBackRestoredAndActive)
{
    parms = WindowParms(0, 1024, 768);
    EngWindow *window = Open();
    window->RequestDeviceRecreation();
    PumpAll(window);
    // The minimise around the new device changes neither the activation nor
    // the device.
    EXPECT_EQ(program->TakeHooks(),
              Joined({"PreDestroyGraphicsObjectsCB", "DestroyGraphicsObjectsCB", "PostDestroyGraphicsObjectsCB",
                      "WindowMinimisedCB(1)", "WindowMinimisedCB(0)"},
                     std::vector<std::string>(RECREATION_HOOKS.begin() + 3, RECREATION_HOOKS.end())));
    EXPECT_FALSE(IsIconic(Handle()));
    EXPECT_TRUE(window->IsActive());
    EXPECT_FALSE(window->IsMinimised());
    EXPECT_NE(eng_device, nullptr);
}

TEST_F(EngWindowTest, ThePositionIsKnownOnlyInAWindow)
{
    EngWindow *window = Open();
    int x = 5, y = 5;
    EXPECT_EQ(window->GetWindowPos(&x, &y), 1);
    EXPECT_EQ(x, 440);
    EXPECT_EQ(y, 117);

    TearDown();
    SetUp();
    parms = WindowParms(0, 1024, 768);
    window = Open();
    EXPECT_EQ(window->GetWindowPos(&x, &y), 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngWindow::GetWindowPos )    Not running in windowed mode"));
}

void *music_user = nullptr;

TEST_F(EngWindowTest, TheMusicEventReachesThePlayersCallback)
{
    EngWindow *window = Open();
    EXPECT_EQ(EngSoundGetMainWindow(), Handle());
    int player = 0, other = 0;
    music_user = nullptr;
    window->SetMusicEventCB([](void *user) { music_user = user; }, &player);
    // Posted to the window the player knows, also after a toggle replaced it.
    HWND first = Handle();
    ASSERT_EQ(window->ToggleFullscreenMode(), 1);
    EXPECT_EQ(EngSoundGetMainWindow(), Handle());
    PostMessageA(first, WM_MUSIC_EVENT, 0, 0);
    PumpAll(window);
    EXPECT_EQ(music_user, &player);
    // Only the player that set the callback clears it.
    window->ClearMusicEventCB(&other);
    music_user = nullptr;
    PostMessageA(Handle(), WM_MUSIC_EVENT, 0, 0);
    PumpAll(window);
    EXPECT_EQ(music_user, &player);
    window->ClearMusicEventCB(&player);
    music_user = nullptr;
    PostMessageA(Handle(), WM_MUSIC_EVENT, 0, 0);
    PumpAll(window);
    EXPECT_EQ(music_user, nullptr);

    program->CloseDown(1);
    EXPECT_EQ(EngSoundGetMainWindow(), nullptr);
}

bool box_after_close_down = false;

TEST_F(EngWindowTest, APopupOverTheDeviceClosesTheProgramFirst)
{
    Open();
    box_after_close_down = false;
    PlatformSetMessageBoxHook([](const char *, const char *, UINT) -> int {
        box_after_close_down = !eng_main_program && !eng_main_window && !eng_device;
        return IDOK;
    });
    EXPECT_EQ(EngMiscShowPopupMessage(EMPT_WARNING, "Careful", "Something"), 1);
    EXPECT_TRUE(box_after_close_down);
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngMiscShowPopupMessage )    POPUP: No device <Careful> <Something>"));
    EXPECT_EQ(program->hooks.back(), "ExitCB");
}

// A program whose exit hook asks for a popup while the device still exists,
// as an exit save that cannot write its file does.
class PopupAtExitProgram : public RecordingProgram {
public:
    int inner_answer = -1;
    void PreDestroyDeviceCB() override
    {
        RecordingProgram::PreDestroyDeviceCB();
        inner_answer = EngMiscShowPopupMessage(EMPT_ERROR, "Inner", "From the exit hook");
    }
};

std::vector<std::string> boxes_shown;

TEST_F(EngWindowTest, APopupFromInsideTheCloseDownDoesNotCloseDownAgain)
{
    delete program;
    ResetRuntimeForTest();
    PopupAtExitProgram *popup_program = new PopupAtExitProgram();
    program = popup_program;
    Open();
    boxes_shown.clear();
    PlatformSetMessageBoxHook([](const char *text, const char *, UINT) -> int {
        boxes_shown.push_back(text);
        return IDOK;
    });
    EXPECT_EQ(EngMiscShowPopupMessage(EMPT_WARNING, "Careful", "Something"), 1);
    EXPECT_EQ(popup_program->inner_answer, 0) << "the inner popup waits for the close-down under way";
    EXPECT_TRUE(WasStored(" <ERROR>  ( EngMiscExitProgramNow )    Already exiting."));
    int pre_destroys = 0, exits = 0;
    for (const std::string &hook : program->hooks) {
        pre_destroys += hook == "PreDestroyDeviceCB";
        exits += hook == "ExitCB";
    }
    EXPECT_EQ(pre_destroys, 1);
    EXPECT_EQ(exits, 1);
    // One box after the close-down, with the last text asked for.
    EXPECT_EQ(boxes_shown, std::vector<std::string>{"From the exit hook"});
    PlatformSetMessageBoxHook(nullptr);
}

} // namespace
