// The window layer on a real display: a window of the wanted client size,
// the display's keyboard, text and mouse events arriving at the program as the
// desktop's input events, and a resize that settles into one re-creation.
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32TestDesktop.h"
#include "platform/win32/Win32Time.h"

#include <gtest/gtest.h>

namespace {

class Win32WindowDisplayTest : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    EngWindow *window = nullptr;
    HWND hwnd = nullptr;
    _EngCreateWindowParms parms = WindowParms(1, 400, 300);

    void SetUp() override
    {
        ResetRuntimeForTest();
        VirtualClock::Remove();
        PlatformSetHeadless(false);
        ASSERT_TRUE(PlatformStartDisplay());
        // The pointer rests away from the window, so no real motion mixes in.
        PlatformTestWarpMouse(0, 0);
        program = new RecordingProgram();
        ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherDisplayClass", &parms), 1);
        window = program->GetWindow();
        hwnd = window->GetWindowHandle();
        ASSERT_NE(hwnd, nullptr);
        Settle();
    }

    void TearDown() override
    {
        program->CloseDown(1);
        delete program;
        PlatformSetHeadless(true);
    }

    // Handles what the display sends for a while, then forgets the inputs.
    void Settle()
    {
        for (int i = 0; i < 30; i++) {
            EngMainUpdateProgramTime();
            PumpAll(window);
            Sleep(10);
        }
        program->TakeInputs();
        program->TakeHooks();
    }

    void Key(bool down, const char *key, int modifiers) { ASSERT_TRUE(PlatformTestPushKey(hwnd, down, key, modifiers)); }

    void Press(const char *key, int modifiers = PTD_MOD_NONE)
    {
        Key(true, key, modifiers);
        Key(false, key, modifiers);
    }

    void Text(const char *utf8) { ASSERT_TRUE(PlatformTestPushText(hwnd, utf8)); }

    void Button(bool down, int button, int clicks) { ASSERT_TRUE(PlatformTestPushButton(hwnd, down, button, clicks, 50, 60)); }

    // The inputs the pushed events made. The display is shared with other
    // test programs, whose windows and cursor moves may send this window real
    // mouse moves: those are left out unless asked for.
    std::vector<RecordedInput> Handle(bool keep_moves = false)
    {
        EngMainUpdateProgramTime();
        PumpAll(window);
        std::vector<RecordedInput> inputs;
        for (const RecordedInput &input : program->TakeInputs())
            if (keep_moves || input.event != 1)
                inputs.push_back(input);
        return inputs;
    }
};

TEST_F(Win32WindowDisplayTest, TheWindowHasTheWantedClientSize)
{
    int width = 0, height = 0;
    PlatformTestGetWindowSize(hwnd, &width, &height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    EXPECT_EQ(eng_screen_width, 400);
    EXPECT_EQ(eng_screen_height, 300);
    EXPECT_EQ(PlatformTestGetWindowTitle(hwnd), "Hive Watcher");
    EXPECT_TRUE(PlatformTestIsWindowShown(hwnd));
}

TEST_F(Win32WindowDisplayTest, KeysArriveWithTheDesktopsNumbersAndCharacters)
{
    Press("A");
    Text("a");
    Press("Return");
    Press("Escape");
    Press("Backspace");
    Press("Tab");
    Press("Left");
    Press("F5");
    Key(true, "Right Shift", PTD_MOD_RSHIFT);
    Text("\xC3\xA9"); // é
    Key(false, "Right Shift", PTD_MOD_NONE);
    EXPECT_EQ(Handle(), (std::vector<RecordedInput>{{5, 'A', 0},      {6, 'A', 0},       {7, 'a', 0},
                                                    {5, 13, 0},       {7, 13, 0},        {6, 13, 0},
                                                    {5, 27, 0},       {7, 27, 0},        {6, 27, 0},
                                                    {5, 8, 0},        {7, 8, 0},         {6, 8, 0},
                                                    {5, 9, 0},        {7, 9, 0},         {6, 9, 0},
                                                    {5, VK_LEFT, 0},  {6, VK_LEFT, 0},   {5, 0x74, 0},
                                                    {6, 0x74, 0},     {5, VK_SHIFT, 0},  {7, 0xE9, 0},
                                                    {6, VK_SHIFT, 0}}));
}

TEST_F(Win32WindowDisplayTest, CtrlLettersAreControlCharacters)
{
    Key(true, "Left Ctrl", PTD_MOD_LCTRL);
    Press("C", PTD_MOD_LCTRL);
    Press("V", PTD_MOD_LCTRL);
    Key(false, "Left Ctrl", PTD_MOD_NONE);
    EXPECT_EQ(Handle(), (std::vector<RecordedInput>{{5, VK_CONTROL, 0},
                                                    {5, 'C', 0},
                                                    {7, 3, 0},
                                                    {6, 'C', 0},
                                                    {5, 'V', 0},
                                                    {7, 22, 0},
                                                    {6, 'V', 0},
                                                    {6, VK_CONTROL, 0}}));
}

TEST_F(Win32WindowDisplayTest, AltAndF10AreTheSystemsKeys)
{
    PlatformTestSetModifiers(PTD_MOD_LALT);
    Key(true, "Left Alt", PTD_MOD_LALT);
    Press("F", PTD_MOD_LALT);
    Text("f");
    EXPECT_TRUE(Handle().empty());
    EXPECT_EQ(eng_main_key_states[VK_MENU], 2);
    PlatformTestSetModifiers(PTD_MOD_NONE);
    Key(false, "Left Alt", PTD_MOD_NONE);
    Key(true, "F10", PTD_MOD_NONE);
    EXPECT_TRUE(Handle().empty());
    EXPECT_EQ(eng_main_key_states[VK_MENU], 0);
    EXPECT_EQ(eng_main_key_states[VK_F10], 2);
}

TEST_F(Win32WindowDisplayTest, ADoubleClickArrivesDownUpDoubleClick)
{
    Button(true, PTD_BUTTON_LEFT, 1);
    Button(false, PTD_BUTTON_LEFT, 1);
    Button(true, PTD_BUTTON_LEFT, 2);
    Button(false, PTD_BUTTON_LEFT, 2);
    Button(true, PTD_BUTTON_RIGHT, 1);
    Button(false, PTD_BUTTON_RIGHT, 1);
    EXPECT_EQ(Handle(),
              (std::vector<RecordedInput>{{2, 0, 1}, {2, 0, 0}, {3, 0, 0}, {2, 1, 1}, {2, 1, 0}}));
}

TEST_F(Win32WindowDisplayTest, MovesAndTheWheel)
{
    ASSERT_TRUE(PlatformTestPushMotion(hwnd, 30, 40));
    // Moves not yet handled give way to the latest position.
    ASSERT_TRUE(PlatformTestPushMotion(hwnd, 31, 40));
    ASSERT_TRUE(PlatformTestPushWheel(hwnd, -1));
    std::vector<RecordedInput> inputs = Handle(true);
    ASSERT_GE(inputs.size(), 2u);
    EXPECT_EQ(std::vector<RecordedInput>(inputs.begin(), inputs.begin() + 2),
              (std::vector<RecordedInput>{{1, 31, 40}, {4, -3, 2}}));
}

TEST_F(Win32WindowDisplayTest, TheCursorGoesToTheClientPoint)
{
    window->SetMousePos(320, 240);
    int window_x = 0, window_y = 0, x = 0, y = 0;
    PlatformTestGetWindowPosition(hwnd, &window_x, &window_y);
    PlatformTestGetMouse(&x, &y);
    EXPECT_EQ(x - window_x, 200);
    EXPECT_EQ(y - window_y, 150);
}

TEST_F(Win32WindowDisplayTest, AResizeSettlesIntoOneRecreation)
{
    D3D9RecordingReset();
    // A drag on the frame: several sizes in a row.
    for (int width : {420, 460, 500}) {
        PlatformTestSetWindowSize(hwnd, width, 350);
        for (int i = 0; i < 3; i++) {
            PumpAll(window);
            Sleep(10);
        }
    }
    Settle();
    int creations = 0;
    for (const std::string &call : D3D9RecordingGetCalls())
        creations += call.rfind("CreateDevice", 0) == 0;
    EXPECT_EQ(creations, 1);
    EXPECT_EQ(eng_screen_width, 500);
    EXPECT_EQ(eng_screen_height, 350);
}

} // namespace
