// The toolkit test kit.
#include "tests/support/GuiTestKit.h"

#include "engine/core/EngLanguages.h"
#include "engine/graphics/EngFontDraw.h"
#include "platform/win32/Win32Input.h"

#include <cstring>
#include <filesystem>

#define GUI_TEST_FONT_FILE "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

char GuiProgram::InputEventCB(int event, float a, float b)
{
    RecordingProgram::InputEventCB(event, a, b);
    if (!mwin)
        return 0;
    // The game's mapping of input events onto the toolkit.
    switch (event) {
    case 1:
        return mwin->MouseMove(a, b);
    case 2:
        return mwin->ButtonPressed(static_cast<char>(a), static_cast<char>(b), 0);
    case 4:
        return mwin->MouseWheelMoved(static_cast<int>(a));
    case 5:
        return mwin->KeyDown(static_cast<int>(a));
    case 6:
        return mwin->KeyUp(static_cast<int>(a));
    case 7:
        return mwin->KeyDownChar(static_cast<int>(a));
    default:
        return 0;
    }
}

namespace {

bool IsIdentity(const D3DMATRIX &m)
{
    return m.m[0][0] == 1 && m.m[1][1] == 1 && m.m[2][2] == 1 && m.m[3][0] == 0 && m.m[3][1] == 0;
}

} // namespace

std::vector<DrawnQuad> DrawnQuads()
{
    std::vector<DrawnQuad> quads;
    for (const D3D9RecordedDraw &draw : D3D9RecordingGetDraws()) {
        std::vector<ReadVertex> vertices = ReadVertices(draw);
        if (vertices.empty())
            continue;
        float left = vertices[0].x, right = left, top = vertices[0].y, bottom = top;
        float u0 = vertices[0].u, u1 = u0, v0 = vertices[0].v, v1 = v0;
        for (const ReadVertex &v : vertices) {
            left = std::min(left, v.x);
            right = std::max(right, v.x);
            top = std::min(top, v.y);
            bottom = std::max(bottom, v.y);
            u0 = std::min(u0, v.u);
            u1 = std::max(u1, v.u);
            v0 = std::min(v0, v.v);
            v1 = std::max(v1, v.v);
        }
        DrawnQuad quad;
        if (IsIdentity(draw.state.projection) && (draw.state.fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZRHW) {
            // Clip units: y up from the middle.
            quad = {(left + 1) * 320, (1 - bottom) * 240, (right - left) * 320, (bottom - top) * 240, 0, nullptr,
                    u0, v0, u1, v1};
        } else {
            quad = {left, top, right - left, bottom - top, 0, nullptr, u0, v0, u1, v1};
        }
        quad.colour = vertices[0].colour;
        quad.texture = draw.state.textures[0];
        quads.push_back(quad);
    }
    return quads;
}

std::vector<DrawnQuad> DrawnQuadsOfColour(DWORD colour)
{
    std::vector<DrawnQuad> found;
    for (const DrawnQuad &quad : DrawnQuads())
        if (quad.colour == colour)
            found.push_back(quad);
    return found;
}

_MWinWindowCreateInfo WindowInfo(float x, float y, float w, float h, bool title_bar, const char *title)
{
    _MWinWindowCreateInfo info;
    std::memset(&info, 0, sizeof(info));
    info.m_x = x;
    info.m_y = y;
    info.m_w = w;
    info.m_h = h;
    info.m_has_title_bar = title_bar;
    std::snprintf(info.m_title, sizeof(info.m_title), "%s", title);
    std::snprintf(info.m_title_texbut, sizeof(info.m_title_texbut), "MWIN_TEXBUT_DEFAULT");
    std::snprintf(info.m_back_texbut, sizeof(info.m_back_texbut), "MWIN_TEXBUT_DEFAULT");
    std::snprintf(info.m_font, sizeof(info.m_font), "Main");
    return info;
}

void GuiTest::StartKit(bool display)
{
    m_display = display;
    ResetRuntimeForTest();
    EngTextureResetForTests();
    EngFontResetForTests();
    EngFontDrawResetForTests();
    if (display) {
        VirtualClock::Remove();
        PlatformSetHeadless(false);
        ASSERT_TRUE(PlatformStartDisplay());
        D3D9SetBackend(D3D9_BACKEND_GL);
    }
    ASSERT_TRUE(WritePng("skin.png", 8, 8, [](int, int) { return 0xFFFFFFFFu; }));
    program = new GuiProgram();
    ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherGuiClass", &parms), 1);
    ASSERT_TRUE(font.CreateFromFontFile(GUI_TEST_FONT_FILE, 0, 0, 10, 32, 254, nullptr, 0, 1.0f, 1.0f, 0, 0, 0, 0,
                                        0, 0, 1));
    mwin = new MWin(nullptr);
    program->mwin = mwin;
    RegisterSkin();
    ASSERT_EQ(mwin->GetFonts()->AddUserFontPointer("Main", &font), 0);
    ASSERT_TRUE(mwin->Startup());
    DebugClearLogs();
    D3D9RecordingReset();
}

void GuiTest::LoadEnglish(const char *tokens)
{
    std::filesystem::create_directories("Lang");
    FILE *file = std::fopen("Lang/English.txt", "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("Language=English\r\nFlagCountryCode=GB\r\n", file);
    for (const char *line = tokens; *line;) {
        const char *end = std::strchr(line, '\n');
        size_t length = end ? static_cast<size_t>(end - line) : std::strlen(line);
        std::fwrite(line, 1, length, file);
        std::fputs("\r\n", file);
        line += length + (end ? 1 : 0);
    }
    std::fclose(file);
    ASSERT_TRUE(EngLanguagesInit("Lang", nullptr, 0));
    EngLanguagesInitFinished();
}

void GuiTest::StopKit()
{
    EngLanguagesDestroy();
    if (program)
        program->mwin = nullptr;
    delete mwin;
    mwin = nullptr;
    font.Destroy();
    if (program) {
        program->CloseDown(1);
        delete program;
        program = nullptr;
    }
    VirtualClock::Remove();
    if (m_display) {
        D3D9SetBackend(D3D9_BACKEND_RECORDING);
        PlatformSetHeadless(true);
    }
}

void GuiTest::RegisterSkin()
{
    MWinTextures *textures = mwin->GetTextures();
    ASSERT_TRUE(textures->AddTexture("Skin", "skin.png", 1, 2));
    const struct {
        const char *id;
        _ColourRGBA colour;
    } buttons[] = {
        {"White", {1, 1, 1, 1}}, {"Red", {1, 0, 0, 1}}, {"Green", {0, 1, 0, 1}},
        {"Blue", {0, 0, 1, 1}},  {"Grey", {0.5f, 0.5f, 0.5f, 1}},
    };
    for (const auto &button : buttons) {
        ASSERT_NE(textures->AddTextureButton(button.id, "Skin", 0, 0, 1, 1, "", 0, 0, 0, 0, "", 0, 0, 0, 0, "", 0, 0,
                                             0, 0),
                  nullptr);
        if (std::strcmp(button.id, "White") != 0) {
            ASSERT_TRUE(textures->SetTextureButtonStateColourMultiplier(button.id, MWTS_NORMAL, &button.colour));
        }
    }
    const int white_slots[] = {MWIN_STD_TEX_WIN_BACK, MWIN_STD_TEX_PUSH_BUTTON, MWIN_STD_TEX_BUTTON_BACK};
    for (int slot : white_slots)
        ASSERT_TRUE(textures->SetStandardTextureToTexBut(slot, "White"));
    ASSERT_TRUE(textures->SetStandardTextureToTexBut(MWIN_STD_TEX_WIN_TITLE, "Grey"));
}

void GuiTest::PlaceDesktopMouse()
{
    POINT point = {static_cast<LONG>(m_mouse_x), static_cast<LONG>(m_mouse_y)};
    ClientToScreen(program->GetWindow()->GetWindowHandle(), &point);
    PlatformHeadlessSetMouse(point.x, point.y, m_buttons);
}

void GuiTest::Send(UINT message, WPARAM wparam, LPARAM lparam)
{
    EngWindow *window = program->GetWindow();
    PlaceDesktopMouse();
    PostMessageA(window->GetWindowHandle(), message, wparam, lparam);
    EngMainUpdateProgramTime();
    PumpAll(window);
}

void GuiTest::MoveMouse(float x, float y)
{
    m_mouse_x = x;
    m_mouse_y = y;
    m_outside = false;
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<int>(x), static_cast<int>(y)));
}

void GuiTest::MoveOutside(float x, float y)
{
    m_mouse_x = x;
    m_mouse_y = y;
    if (!m_outside) {
        m_outside = true;
        Send(WM_MOUSELEAVE, 0, 0);
    }
    PlaceDesktopMouse();
    program->DoTick();
}

void GuiTest::ReleaseOutside()
{
    m_buttons &= ~static_cast<unsigned>(VK_LBUTTON);
    PlaceDesktopMouse();
    program->DoTick();
}

void GuiTest::Press(int button)
{
    const UINT messages[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const unsigned masks[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    m_buttons |= masks[button];
    Send(messages[button], 0, MAKELPARAM(static_cast<int>(m_mouse_x), static_cast<int>(m_mouse_y)));
}

void GuiTest::Release(int button)
{
    const UINT messages[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    const unsigned masks[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    m_buttons &= ~masks[button];
    Send(messages[button], 0, MAKELPARAM(static_cast<int>(m_mouse_x), static_cast<int>(m_mouse_y)));
}

void GuiTest::Click(float x, float y)
{
    MoveMouse(x, y);
    Press();
    Release();
}

void GuiTest::Key(int vk)
{
    KeyDown(vk);
    KeyUp(vk);
}

void GuiTest::KeyDown(int vk)
{
    Send(WM_KEYDOWN, vk, 0);
}

void GuiTest::KeyUp(int vk)
{
    Send(WM_KEYUP, vk, 0);
}

void GuiTest::Wheel(int notches)
{
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA),
         MAKELPARAM(static_cast<int>(m_mouse_x), static_cast<int>(m_mouse_y)));
}

void GuiTest::Char(int ch)
{
    Send(WM_CHAR, ch, 0);
}

MWinCollection *GuiTest::AddCollection(const char *id)
{
    return mwin->GetDesktop()->AddCollection(id);
}

MWinWindow *GuiTest::AddWindow(MWinCollection *collection, const char *id, float x, float y, float w, float h,
                               bool title_bar, const char *title)
{
    _MWinWindowCreateInfo info = WindowInfo(x, y, w, h, title_bar, title);
    return collection->AddWindow(id, &info);
}

bool GuiTest::LogHasLine(const std::string &text)
{
    for (int i = 0; i < DebugGetNumMessages(); i++)
        if (std::string(DebugGetMessageText(i)).find(text) != std::string::npos)
            return true;
    return false;
}
