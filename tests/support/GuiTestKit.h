// The toolkit test kit: a program with its main window and device (the
// recording device, or GL on a real display) whose input reaches the
// toolkit as the game passes it; a toolkit with a plain skin (one white
// texture whose texture buttons are coloured by their multipliers) and
// DejaVu Sans as its "Main" font; helpers that send mouse and key messages
// through the window layer; and a reader of the recorded draws.
#pragma once

#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "engine/graphics/EngFont.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinFonts.h"
#include "gui/MWinScreens.h"
#include "gui/MWinTextures.h"
#include "gui/MWinWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// A program that gives its input events to the toolkit as the game does.
class GuiProgram : public RecordingProgram {
public:
    MWin *mwin = nullptr;
    char InputEventCB(int event, float a, float b) override;
};

// A screen controller that records the ids of the controls pressed and
// runs a handler for them when one is given.
class TestController : public MWinCollectionController {
public:
    std::vector<std::string> presses;
    std::function<char(MWinButton *, _MWinButtonCallbackInfo *)> on_press;

    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override
    {
        presses.push_back(info->m_button_id);
        return on_press ? on_press(button, info) : 1;
    }
};

// One draw read back from the recording device: its rectangle in 640 x 480
// units, the colour of its first vertex (ARGB), its texture and the span of
// its texture coordinates.
struct DrawnQuad {
    float x, y, w, h;
    DWORD colour;
    const void *texture;
    float u0, v0, u1, v1;
};

// Every draw recorded since the last D3D9RecordingReset.
std::vector<DrawnQuad> DrawnQuads();
// Only those drawn with the colour (ARGB), in order.
std::vector<DrawnQuad> DrawnQuadsOfColour(DWORD colour);

// A window descriptor: a body at x, y of w x h, optionally with a title bar
// and title; the skin's texture buttons and the "Main" font.
_MWinWindowCreateInfo WindowInfo(float x, float y, float w, float h, bool title_bar = false,
                                 const char *title = "");

class GuiTest : public testing::Test {
protected:
    GuiProgram *program = nullptr;
    MWin *mwin = nullptr;
    EngFont font;
    _EngCreateWindowParms parms = WindowParms(1, 640, 480);

    void SetUp() override { StartKit(false); }
    void TearDown() override { StopKit(); }

    // display: a real window drawn with GL instead of the recording device.
    void StartKit(bool display);
    void StopKit();

    // The skin's texture buttons: "White" (all of the texture) in the window,
    // title and button slots; "Red", "Green", "Blue" and "Grey" the same
    // area with that colour multiplier.
    void RegisterSkin();

    // Input through the window layer, positions in 640 x 480 units (the
    // window's pixels). Each pumps the messages through the toolkit.
    void MoveMouse(float x, float y);
    void Press(int button = 0);
    void Release(int button = 0);
    void Click(float x, float y);
    // The pointer outside the window's client area, at (x, y) beyond
    // 0..640 x 0..480, with the buttons as they are: the system's leave
    // notice when it crosses the edge, then what the program's per-frame
    // poll finds there.
    void MoveOutside(float x, float y);
    // The left button let go while the pointer is outside: the window hears
    // of it only through the per-frame poll, never as a release message.
    void ReleaseOutside();
    void Key(int vk);
    // A key held down (Shift for Shift+Tab) and let go.
    void KeyDown(int vk);
    void KeyUp(int vk);
    void Char(int ch);
    // Notches of the wheel, away from the user above 0; the window layer
    // turns each into the system's wheel lines (3 clicks).
    void Wheel(int notches);

    // A collection with one window holding push buttons.
    MWinCollection *AddCollection(const char *id);
    MWinWindow *AddWindow(MWinCollection *collection, const char *id, float x, float y, float w, float h,
                          bool title_bar = false, const char *title = "");

    // English as the one language, its texts from "Token=Text" lines ("#"
    // between a token's sub-texts); the kit unloads it when it stops.
    void LoadEnglish(const char *tokens);

    // The stored log lines that contain the text.
    bool LogHasLine(const std::string &text);

private:
    void Send(UINT message, WPARAM wparam, LPARAM lparam);
    // The desktop's pointer and buttons where the kit's mouse is.
    void PlaceDesktopMouse();
    bool m_display = false;
    float m_mouse_x = 0, m_mouse_y = 0;
    unsigned m_buttons = 0;
    bool m_outside = false;
};
