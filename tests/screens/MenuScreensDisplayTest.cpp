// The road from the Main screen to play on a real window: clicks on "New
// Game", a garden's picture and the note's Ok, drawn by GL. Each screen is
// saved as a PNG in <build>/screens/ for a look by eye, and a few of its
// pixels are checked: the title menu and the garden grid are drawn, and
// play draws the board instead of the menus.
#include "tests/screens/MenuScreensTestSupport.h"

#include "engine/runtime/EngWindow.h"
#include "game/HiveWatcher.h"
#include "game/Levels.h"
#include "platform/d3d9/D3D9GL.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32Window.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

using namespace menu_screens_test;

class MenuScreensDisplayTest : public MenuScreensTest {
protected:
    void UseScreens() override
    {
        MenuScreensTest::UseScreens();
        // The display and GL in place of the headless desktop, before the
        // program opens its window.
        VirtualClock::Remove();
        PlatformSetHeadless(false);
        ASSERT_TRUE(PlatformStartDisplay());
        D3D9SetBackend(D3D9_BACKEND_GL);
    }

    void TearDown() override
    {
        MenuScreensTest::TearDown();
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        PlatformSetHeadless(true);
    }

    void Frame()
    {
        program->PumpMessages();
        program->DoTick();
        program->DoRender();
    }

    // A left click at a point in 640 x 480 units.
    void Click(float x, float y)
    {
        HWND window = program->GetWindow()->GetWindowHandle();
        const LPARAM at = MAKELPARAM(static_cast<int>(x * eng_screen_width / 640.0f),
                                     static_cast<int>(y * eng_screen_height / 480.0f));
        PostMessageA(window, WM_MOUSEMOVE, 0, at);
        Frame();
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        Frame();
        PostMessageA(window, WM_LBUTTONUP, 0, at);
        Frame();
        Frame();
    }

    // The drawn frame, saved as <build>/screens/<name>.png.
    std::vector<DWORD> Shoot(const char *name)
    {
        Frame();
        const int w = eng_screen_width, h = eng_screen_height;
        std::vector<DWORD> argb(static_cast<size_t>(w) * h, 0);
        RECT all = {0, 0, w, h};
        EXPECT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &all, argb.data()), S_OK);
        std::vector<unsigned char> rgb(argb.size() * 3);
        for (size_t i = 0; i < argb.size(); i++) {
            rgb[i * 3] = (argb[i] >> 16) & 0xFF;
            rgb[i * 3 + 1] = (argb[i] >> 8) & 0xFF;
            rgb[i * 3 + 2] = argb[i] & 0xFF;
        }
        const std::filesystem::path folder = std::filesystem::path(HW_DATA_DIR).parent_path() / "screens";
        std::filesystem::create_directories(folder);
        const std::string file = (folder / (std::string(name) + ".png")).string();
        EXPECT_NE(stbi_write_png(file.c_str(), w, h, 3, rgb.data(), w * 3), 0) << file;
        return argb;
    }

    // How many pixels of the frame differ from its top-left corner's colour.
    static size_t Drawn(const std::vector<DWORD> &frame)
    {
        size_t count = 0;
        for (DWORD pixel : frame)
            count += (pixel & 0xFFFFFF) != (frame[0] & 0xFFFFFF);
        return count;
    }
};

TEST_F(MenuScreensDisplayTest, FromTheTitleMenuThroughTheGardensIntoPlay)
{
    screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
    EXPECT_GT(Drawn(Shoot("main")), 1000u);

    Click(320, 225); // "New Game"
    ASSERT_EQ(screens->GetCurrentScreen(), HW_SCREEN_SELE);
    EXPECT_GT(Drawn(Shoot("select")), 1000u);

    Click(235, 200); // garden 0's picture
    ASSERT_EQ(screens->GetCurrentScreen(), HW_SCREEN_GENL);
    EXPECT_GT(Drawn(Shoot("notice")), 1000u);

    Click(320, 312); // "Ok"
    EXPECT_FALSE(screens->IsOn());
    EXPECT_EQ(play_under_way, 1);
    EXPECT_EQ(levels_garden, 0);
    EXPECT_GT(Drawn(Shoot("play")), 1000u);
}

// Popups with a title over the title menu, in the game's skin: each
// message starts below its title strip (which ends at the body's top edge).
// Saved as popup-with-title-<n>.png.
TEST_F(MenuScreensDisplayTest, APopupsTitleStripStaysAboveItsMessage)
{
    screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
    Frame();
    MWin *mwin = game->GetMWin();
    const std::function<char()> popups[] = {
        [&] { return mwin->PopupYesNo("Delete User", "Are you sure you want to delete this user?", nullptr, nullptr); },
        [&] { return mwin->PopupShowMessage("Sorry", "Submitting your score..."); },
        [&] { return mwin->PopupOk("Congratulations!", "Your score was submitted successfully!", nullptr, nullptr); },
    };
    int n = 0;
    for (const auto &open : popups) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(open());
        Shoot(("popup-with-title-" + std::to_string(++n)).c_str());
        MWinWindow *box = mwin->GetWindowFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", 0);
        ASSERT_NE(box, nullptr);
        const _Dimension *area = box->GetArea(), *title = box->GetTitleBarArea();
        _Dimension message;
        ASSERT_TRUE(mwin->GetButtonFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", "MSG", 0)->GetScreenDimension(&message));
        EXPECT_LE(area->y + title->y + title->h, area->y);
        EXPECT_GE(message.y, area->y);
        mwin->PopupCloseIfOn();
    }
}

// The title menu in each of the five layouts, drawn by GL and saved as
// main-layout-<n>.png; only the Normal layout offers "Exit Game".
TEST_F(MenuScreensDisplayTest, TheTitleMenuInEveryLayout)
{
    MWin *mwin = game->GetMWin();
    for (int layout = 0; layout < MWIN_NUM_LAYOUTS; layout++) {
        SCOPED_TRACE(layout);
        mwin->SetScreenLayout(layout);
        screens->GotoScreen(HW_SCREEN_MAIN, nullptr);
        const std::string name = "main-layout-" + std::to_string(layout);
        const std::vector<DWORD> frame = Shoot(name.c_str());
        EXPECT_GT(Drawn(frame), 1000u);
        const bool exit_shown = main_cc->Control(MainCollectionController::MAIN_EXIT)->IsShown();
        EXPECT_EQ(exit_shown, layout == MWIN_LAYOUT_NORMAL);
    }
    mwin->SetScreenLayout(MWIN_LAYOUT_NORMAL);
}

} // namespace
