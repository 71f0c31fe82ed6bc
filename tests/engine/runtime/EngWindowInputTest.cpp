#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "platform/win32/Win32Input.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const int kKeyF = 'F';

struct Message {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};

class EngWindowInputTest : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    EngWindow *window = nullptr;
    _EngCreateWindowParms parms = WindowParms();

    void SetUp() override
    {
        ResetRuntimeForTest();
        program = new RecordingProgram();
        ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        window = program->GetWindow();
        program->TakeHooks();
    }

    void TearDown() override
    {
        program->CloseDown(1);
        delete program;
        VirtualClock::Remove();
    }

    HWND Handle() { return window->GetWindowHandle(); }

    // Sends the messages through the queue as the main loop would, and
    // answers the input events they made.
    std::vector<RecordedInput> Send(std::initializer_list<Message> messages)
    {
        for (const Message &m : messages)
            PostMessageA(Handle(), m.message, m.wparam, m.lparam);
        EngMainUpdateProgramTime();
        PumpAll(window);
        return program->TakeInputs();
    }

    // The mouse at a client position, as the desktop reports it.
    void PlaceMouse(int x, int y, unsigned buttons)
    {
        POINT point = {x, y};
        ClientToScreen(Handle(), &point);
        PlatformHeadlessSetMouse(point.x, point.y, buttons);
    }
};

TEST_F(EngWindowInputTest, KeysGiveEventsAndFollowTheTable)
{
    EXPECT_EQ(Send({{WM_KEYDOWN, 'A', 0}}), (std::vector<RecordedInput>{{5, 0x41, 0}}));
    EXPECT_EQ(eng_main_key_states[0x41], 2);
    EXPECT_EQ(Send({{WM_KEYUP, 'A', 0}}), (std::vector<RecordedInput>{{6, 0x41, 0}}));
    EXPECT_EQ(eng_main_key_states[0x41], 0);

    // Characters are 8-bit codes: é is 233, Ctrl+C 3, Ctrl+V 22.
    EXPECT_EQ(Send({{WM_CHAR, 0xE9, 0}, {WM_CHAR, 3, 0}, {WM_CHAR, 22, 0}}),
              (std::vector<RecordedInput>{{7, 233, 0}, {7, 3, 0}, {7, 22, 0}}));
}

TEST_F(EngWindowInputTest, SystemKeysOnlyMoveTheTable)
{
    // Alt alone, and Alt+F: the table follows Alt, the program hears nothing.
    EXPECT_TRUE(Send({{WM_SYSKEYDOWN, VK_MENU, 0}}).empty());
    EXPECT_EQ(eng_main_key_states[VK_MENU], 2);
    EXPECT_TRUE(Send({{WM_SYSKEYDOWN, 'F', 0}, {WM_SYSKEYUP, 'F', 0}}).empty());
    EXPECT_EQ(eng_main_key_states[kKeyF], 0);
    EXPECT_TRUE(Send({{WM_SYSKEYUP, VK_MENU, 0}}).empty());
    EXPECT_EQ(eng_main_key_states[VK_MENU], 0);

    EXPECT_TRUE(Send({{WM_SYSKEYDOWN, VK_F10, 0}}).empty());
    EXPECT_EQ(eng_main_key_states[VK_F10], 2);
    EXPECT_TRUE(Send({{WM_SYSKEYUP, VK_F10, 0}}).empty());
    EXPECT_EQ(eng_main_key_states[VK_F10], 0);
}

TEST_F(EngWindowInputTest, AltEnterSwitchesToFullScreen)
{
    Send({{WM_SYSKEYDOWN, VK_RETURN, 0}});
    EXPECT_EQ(eng_screen_windowed, 0);
    EXPECT_EQ(eng_main_window, window);
    EXPECT_NE(eng_device, nullptr);
}

TEST_F(EngWindowInputTest, TheButtonsOfTheMouse)
{
    EXPECT_EQ(Send({{WM_LBUTTONDOWN, 0, 0}}), (std::vector<RecordedInput>{{2, 0, 1}}));
    EXPECT_EQ(eng_main_key_states[VK_LBUTTON], 2);
    EXPECT_EQ(Send({{WM_RBUTTONDOWN, 0, 0}, {WM_MBUTTONDOWN, 0, 0}}),
              (std::vector<RecordedInput>{{2, 1, 1}, {2, 2, 1}}));
    EXPECT_EQ(eng_main_key_states[VK_RBUTTON], 2);
    EXPECT_EQ(eng_main_key_states[VK_MBUTTON], 2);
    EXPECT_EQ(Send({{WM_LBUTTONUP, 0, 0}, {WM_RBUTTONUP, 0, 0}, {WM_MBUTTONUP, 0, 0}}),
              (std::vector<RecordedInput>{{2, 0, 0}, {2, 1, 0}, {2, 2, 0}}));
    EXPECT_EQ(eng_main_key_states[VK_LBUTTON], 0);
    EXPECT_EQ(eng_main_key_states[VK_RBUTTON], 0);
    EXPECT_EQ(eng_main_key_states[VK_MBUTTON], 0);
}

TEST_F(EngWindowInputTest, ADoubleClickIsDownUpDoubleClick)
{
    // The desktop sends down, up, double click, up.
    EXPECT_EQ(Send({{WM_LBUTTONDOWN, 0, 0}, {WM_LBUTTONUP, 0, 0}, {WM_LBUTTONDBLCLK, 0, 0}, {WM_LBUTTONUP, 0, 0}}),
              (std::vector<RecordedInput>{{2, 0, 1}, {2, 0, 0}, {3, 0, 0}}));
    EXPECT_EQ(eng_main_key_states[VK_LBUTTON], 0);

    // A release well after a double click is an ordinary release.
    Send({{WM_LBUTTONDBLCLK, 0, 0}});
    VirtualClock::Advance(200);
    EngMainUpdateProgramTime();
    EXPECT_EQ(Send({{WM_LBUTTONUP, 0, 0}}), (std::vector<RecordedInput>{{2, 0, 0}}));
}

TEST_F(EngWindowInputTest, TheWheelCountsLinesPerNotch)
{
    EXPECT_EQ(Send({{WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0},
                    {WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0},
                    {WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0},
                    {WM_MOUSEWHEEL, MAKEWPARAM(0, -240), 0}}),
              (std::vector<RecordedInput>{{4, 3, 2}, {4, -3, 2}, {4, 0, 2}, {4, -6, 2}}));
}

TEST_F(EngWindowInputTest, MovesInsideAndTheLeaveNotice)
{
    PlaceMouse(10, 20, VK_RBUTTON);
    EXPECT_EQ(Send({{WM_MOUSEMOVE, 0, MAKELPARAM(10, 20)}}), (std::vector<RecordedInput>{{1, 10, 20}}));
    EXPECT_FALSE(window->IsMouseOutside());
    // Coming in, the buttons are read from the desktop.
    EXPECT_EQ(eng_main_key_states[VK_RBUTTON], 2);
    // Positions left of or above the client area are negative.
    EXPECT_EQ(Send({{WM_MOUSEMOVE, 0, MAKELPARAM(-4, -2)}}), (std::vector<RecordedInput>{{1, -4, -2}}));

    EXPECT_TRUE(Send({{WM_MOUSELEAVE, 0, 0}}).empty());
    EXPECT_TRUE(window->IsMouseOutside());
}

TEST_F(EngWindowInputTest, ADragOutOfTheWindowIsFollowedAndItsReleaseSeen)
{
    PlaceMouse(100, 100, VK_LBUTTON);
    Send({{WM_MOUSEMOVE, 0, MAKELPARAM(100, 100)}, {WM_LBUTTONDOWN, 0, MAKELPARAM(100, 100)}});
    PlaceMouse(-30, 50, VK_LBUTTON);
    Send({{WM_MOUSELEAVE, 0, 0}});

    // Polled after each tick: the position outside keeps coming.
    PlaceMouse(-60, 40, VK_LBUTTON);
    window->PollMouseOutsideWindow_PC();
    EXPECT_EQ(program->TakeInputs(), (std::vector<RecordedInput>{{1, -60, 40}}));
    window->PollMouseOutsideWindow_PC();
    EXPECT_TRUE(program->TakeInputs().empty());
    EXPECT_EQ(eng_main_key_states[VK_LBUTTON], 2);
    EXPECT_FALSE(window->WasLeftButtonReleasedOutside_PC());

    // Released outside: the table lets go, and the release is told once.
    PlaceMouse(-60, 40, 0);
    window->PollMouseOutsideWindow_PC();
    EXPECT_EQ(eng_main_key_states[VK_LBUTTON], 0);
    EXPECT_TRUE(window->WasLeftButtonReleasedOutside_PC());
    EXPECT_FALSE(window->WasLeftButtonReleasedOutside_PC());

    // An inactive window does not follow the mouse.
    Send({{WM_ACTIVATE, WA_INACTIVE, 0}});
    PlaceMouse(-70, 40, 0);
    window->PollMouseOutsideWindow_PC();
    EXPECT_TRUE(program->TakeInputs().empty());
}

TEST_F(EngWindowInputTest, AReleaseOutsideIsSeenOnceWhicheverNoticeComesFirst)
{
    // The system may report the pointer again at once as the button is let
    // go outside (an X server does as its drag grab ends), or the leave
    // notice may be handled only after the release; no tick polls between.
    const struct {
        const char *name;
        bool left_while_held;
        std::vector<RecordedInput> inputs;
    } cases[] = {
        {"a move right after the release", true, {{1, -30, 50}}},
        {"the leave notice after the release", false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PlaceMouse(100, 100, VK_LBUTTON);
        Send({{WM_MOUSEMOVE, 0, MAKELPARAM(100, 100)}, {WM_LBUTTONDOWN, 0, MAKELPARAM(100, 100)}});
        PlaceMouse(-30, 50, c.left_while_held ? VK_LBUTTON : 0);
        Send({{WM_MOUSELEAVE, 0, 0}});
        PlaceMouse(-30, 50, 0);
        if (c.left_while_held)
            EXPECT_EQ(Send({{WM_MOUSEMOVE, 0, MAKELPARAM(-30, 50)}}), c.inputs);
        EXPECT_EQ(eng_main_key_states[VK_LBUTTON], 0);
        EXPECT_TRUE(window->WasLeftButtonReleasedOutside_PC());
        EXPECT_FALSE(window->WasLeftButtonReleasedOutside_PC());
        // Nothing more to tell, in or out.
        Send({{WM_MOUSELEAVE, 0, 0}});
        window->PollMouseOutsideWindow_PC();
        Send({{WM_MOUSEMOVE, 0, MAKELPARAM(100, 100)}});
        EXPECT_FALSE(window->WasLeftButtonReleasedOutside_PC());
    }

    // A new press makes a release outside that nothing took stale.
    PlaceMouse(100, 100, VK_LBUTTON);
    Send({{WM_LBUTTONDOWN, 0, MAKELPARAM(100, 100)}});
    PlaceMouse(-30, 50, 0);
    Send({{WM_MOUSELEAVE, 0, 0}});
    PlaceMouse(100, 100, VK_LBUTTON);
    Send({{WM_MOUSEMOVE, 0, MAKELPARAM(100, 100)}, {WM_LBUTTONDOWN, 0, MAKELPARAM(100, 100)}});
    EXPECT_FALSE(window->WasLeftButtonReleasedOutside_PC());
}

TEST_F(EngWindowInputTest, TheCursorIsPlacedInTheClientArea)
{
    // 1024 x 768 client: the virtual point (320, 240) is client pixel (512, 384).
    window->SetMousePos(320, 240);
    POINT cursor = {0, 0};
    ASSERT_TRUE(GetCursorPos(&cursor));
    ASSERT_TRUE(ScreenToClient(Handle(), &cursor));
    EXPECT_EQ(cursor.x, 512);
    EXPECT_EQ(cursor.y, 384);
    int x = 0, y = 0;
    EXPECT_EQ(window->GetMousePos(&x, &y), 1);
    EXPECT_EQ(x, 512);
    EXPECT_EQ(y, 384);
}

TEST_F(EngWindowInputTest, TheSystemCursorShowsAndHides)
{
    window->HideMouseCursor();
    EXPECT_EQ(CursorCount(), -1);
    EXPECT_FALSE(window->IsCursorShown());
    window->ShowMouseCursor();
    EXPECT_EQ(CursorCount(), 1);
    EXPECT_TRUE(window->IsCursorShown());
}

TEST_F(EngWindowInputTest, TextureCursorNamesThatDoNotFitAreRefused)
{
    const std::string longest(255, 'c');
    const std::string too_long(256, 'c');
    EXPECT_EQ(window->SetupTextureCursor_PC(nullptr, 2, 2, 20, 20, 1, 0, 0), 0);
    EXPECT_EQ(window->SetupTextureCursor_PC("", 2, 2, 20, 20, 1, 0, 0), 0);
    EXPECT_EQ(window->SetupTextureCursor_PC(too_long.c_str(), 2, 2, 20, 20, 1, 0, 0), 0);
    EXPECT_EQ(DebugGetNumMessages(), 3);
    EXPECT_EQ(StoredLines().back(), " <ERROR>  ( EngWindow::SetupTextureCursor_PC )    Invalid Filename");
    EXPECT_FALSE(window->GetTextureCursor_PC()->in_use);

    // The whole name is kept, not the first 128 characters.
    EXPECT_EQ(window->SetupTextureCursor_PC(longest.c_str(), 2, 2, 20, 20, 1, 0, 0), 1);
    EXPECT_EQ(window->GetTextureCursor_PC()->filename, longest);
    EXPECT_TRUE(window->GetTextureCursor_PC()->in_use);
}

TEST_F(EngWindowInputTest, TheTextureCursorTakesTheSystemCursorsPlace)
{
    ASSERT_EQ(window->SetupTextureCursor_PC("Data/1600.dat", 2, 2, 20, 20, 1, 4, 6), 1);
    _EngWindowTextureCursor *cursor = window->GetTextureCursor_PC();
    EXPECT_EQ(cursor->option1, 2);
    EXPECT_EQ(cursor->option2, 2);
    EXPECT_EQ(cursor->width, 20);
    EXPECT_EQ(cursor->hot_x, 4);
    EXPECT_EQ(cursor->hot_y, 6);
    EXPECT_LT(CursorCount(), 0) << "the system cursor is hidden";

    // Placed at the client position in virtual units, less the hot spot.
    cursor->hot_x_scaled = 4;
    cursor->hot_y_scaled = 6;
    PlaceMouse(512, 384, 0);
    Send({{WM_MOUSEMOVE, 0, MAKELPARAM(512, 384)}});
    EXPECT_FLOAT_EQ(cursor->x, 316);
    EXPECT_FLOAT_EQ(cursor->y, 234);

    // Leaving shows the system cursor, coming back hides it again.
    Send({{WM_MOUSELEAVE, 0, 0}});
    EXPECT_TRUE(cursor->leaving);
    EXPECT_GE(CursorCount(), 0) << "shown while outside";
    Send({{WM_MOUSEMOVE, 0, MAKELPARAM(10, 10)}});
    EXPECT_FALSE(cursor->leaving);
    EXPECT_LT(CursorCount(), 0) << "hidden again inside";

    std::vector<std::string> lines = StoredLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{" :  EngWindow::TextureCursorLeavingWindowCB_PC > 0",
                                        " :  EngWindow::TextureCursorLeavingWindowCB_PC > 1",
                                        " :  EngWindow::TextureCursorLeavingWindowCB_PC > 0"}));
}

} // namespace
