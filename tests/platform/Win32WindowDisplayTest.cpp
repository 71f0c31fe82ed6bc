// The window layer on a real display: a window of the wanted client size,
// SDL's keyboard, text and mouse events arriving at the program as the
// desktop's input events, and a resize that settles into one re-creation.
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "platform/win32/Win32Input.h"
#include "platform/win32/Win32WindowInternal.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

class Win32WindowDisplayTest : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    EngWindow *window = nullptr;
    SDL_Window *sdl_window = nullptr;
    _EngCreateWindowParms parms = WindowParms(1, 400, 300);

    void SetUp() override
    {
        ResetRuntimeForTest();
        VirtualClock::Remove();
        PlatformSetHeadless(false);
        ASSERT_TRUE(PlatformStartDisplay());
        // The pointer rests away from the window, so no real motion mixes in.
        SDL_WarpMouseGlobal(0, 0);
        program = new RecordingProgram();
        ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherDisplayClass", &parms), 1);
        window = program->GetWindow();
        sdl_window = window->GetWindowHandle()->sdl;
        ASSERT_NE(sdl_window, nullptr);
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
            SDL_Delay(10);
        }
        program->TakeInputs();
        program->TakeHooks();
    }

    void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

    void Key(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, Uint16 modifiers)
    {
        SDL_Event event = {};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(sdl_window);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = modifiers;
        Push(event);
    }

    void Press(SDL_Keycode key, SDL_Scancode scancode, Uint16 modifiers = KMOD_NONE)
    {
        Key(SDL_KEYDOWN, key, scancode, modifiers);
        Key(SDL_KEYUP, key, scancode, modifiers);
    }

    void Text(const char *utf8)
    {
        SDL_Event event = {};
        event.type = SDL_TEXTINPUT;
        event.text.windowID = SDL_GetWindowID(sdl_window);
        std::strncpy(event.text.text, utf8, sizeof(event.text.text) - 1);
        Push(event);
    }

    void Button(Uint32 type, Uint8 button, Uint8 clicks)
    {
        SDL_Event event = {};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(sdl_window);
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = clicks;
        event.button.x = 50;
        event.button.y = 60;
        Push(event);
    }

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
    SDL_GetWindowSize(sdl_window, &width, &height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
    EXPECT_EQ(eng_screen_width, 400);
    EXPECT_EQ(eng_screen_height, 300);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl_window), "Hive Watcher");
    EXPECT_TRUE(SDL_GetWindowFlags(sdl_window) & SDL_WINDOW_SHOWN);
}

TEST_F(Win32WindowDisplayTest, KeysArriveWithTheDesktopsNumbersAndCharacters)
{
    Press(SDLK_a, SDL_SCANCODE_A);
    Text("a");
    Press(SDLK_RETURN, SDL_SCANCODE_RETURN);
    Press(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    Press(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE);
    Press(SDLK_TAB, SDL_SCANCODE_TAB);
    Press(SDLK_LEFT, SDL_SCANCODE_LEFT);
    Press(SDLK_F5, SDL_SCANCODE_F5);
    Key(SDL_KEYDOWN, SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, KMOD_RSHIFT);
    Text("\xC3\xA9"); // é
    Key(SDL_KEYUP, SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, KMOD_NONE);
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
    Key(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_LCTRL);
    Press(SDLK_c, SDL_SCANCODE_C, KMOD_LCTRL);
    Press(SDLK_v, SDL_SCANCODE_V, KMOD_LCTRL);
    Key(SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL, KMOD_NONE);
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
    SDL_SetModState(KMOD_LALT);
    Key(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
    Press(SDLK_f, SDL_SCANCODE_F, KMOD_LALT);
    Text("f");
    EXPECT_TRUE(Handle().empty());
    EXPECT_EQ(eng_main_key_states[VK_MENU], 2);
    SDL_SetModState(KMOD_NONE);
    Key(SDL_KEYUP, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE);
    Key(SDL_KEYDOWN, SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE);
    EXPECT_TRUE(Handle().empty());
    EXPECT_EQ(eng_main_key_states[VK_MENU], 0);
    EXPECT_EQ(eng_main_key_states[VK_F10], 2);
}

TEST_F(Win32WindowDisplayTest, ADoubleClickArrivesDownUpDoubleClick)
{
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2);
    Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1);
    Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1);
    EXPECT_EQ(Handle(),
              (std::vector<RecordedInput>{{2, 0, 1}, {2, 0, 0}, {3, 0, 0}, {2, 1, 1}, {2, 1, 0}}));
}

TEST_F(Win32WindowDisplayTest, MovesAndTheWheel)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SDL_GetWindowID(sdl_window);
    event.motion.x = 30;
    event.motion.y = 40;
    Push(event);
    // Moves not yet handled give way to the latest position.
    event.motion.x = 31;
    Push(event);
    event = {};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = SDL_GetWindowID(sdl_window);
    event.wheel.y = -1;
    event.wheel.preciseY = -1.0f;
    Push(event);
    std::vector<RecordedInput> inputs = Handle(true);
    ASSERT_GE(inputs.size(), 2u);
    EXPECT_EQ(std::vector<RecordedInput>(inputs.begin(), inputs.begin() + 2),
              (std::vector<RecordedInput>{{1, 31, 40}, {4, -3, 2}}));
}

TEST_F(Win32WindowDisplayTest, TheCursorGoesToTheClientPoint)
{
    window->SetMousePos(320, 240);
    int window_x = 0, window_y = 0, x = 0, y = 0;
    SDL_GetWindowPosition(sdl_window, &window_x, &window_y);
    SDL_GetGlobalMouseState(&x, &y);
    EXPECT_EQ(x - window_x, 200);
    EXPECT_EQ(y - window_y, 150);
}

TEST_F(Win32WindowDisplayTest, AResizeSettlesIntoOneRecreation)
{
    D3D9RecordingReset();
    // A drag on the frame: several sizes in a row.
    for (int width : {420, 460, 500}) {
        SDL_SetWindowSize(sdl_window, width, 350);
        for (int i = 0; i < 3; i++) {
            PumpAll(window);
            SDL_Delay(10);
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
