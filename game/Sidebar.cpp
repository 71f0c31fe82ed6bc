// The sidebar and the bottom bar (see the header).
#include "game/Sidebar.h"

#include "engine/core/EngDebug.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngWindow.h"
#include "game/Bugs.h"
#include "game/Game.h"
#include "game/HW_Screens.h"
#include "game/HiveWatcher.h"
#include "game/PlayNeighbours.h"
#include "game/PopupGlue.h"
#include "game/Program.h"
#include "game/Sound.h"
#include "game/Tutorial.h"
#include "game/Weapon.h"
#include "game/Weapons.h"

#include <algorithm>

_SidebarPixelRect sidebar_button_pixels[SIDEBAR_BUTTONS];
_Dimension sidebar_button_rects[SIDEBAR_BUTTONS];
uint8_t sidebar_enabled[SIDEBAR_BUTTONS];
int32_t sidebar_hovered = -1;
uint8_t sidebar_bottom_hover = 0;
char sidebar_placing = 0;
int sidebar_placing_type = -1;

namespace {

// The sidebar picture's size in pixels, and the part of the screen it covers.
constexpr float PICTURE_W = 256.0f, PICTURE_H = 1024.0f;
constexpr float SIDEBAR_W = 100.0f, BOARD_BOTTOM = 450.0f;

// The level panel that the sidebar picture frames at its top, in its pixels
// (left, top, right, bottom); the texts written in it keep clear of its
// frame by the inset.
constexpr float PANEL_LEFT = 10.0f, PANEL_TOP = 14.0f, PANEL_RIGHT = 238.0f, PANEL_BOTTOM = 150.0f;
constexpr float PANEL_TEXT_INSET = 12.0f;
// The centre of the level title and the hit points.
constexpr float PANEL_TEXT_X = 50.0f;

// Button columns span these x ranges; row r spans y 220 + 218 r to 300 + 218 r.
const int column_left[3] = {14, 92, 170};
constexpr int COLUMN_W = 70, ROW_TOP = 220, ROW_STEP = 218, ROW_H = 80;

// The bottom bar's buttons in 640 x 480 units: x from, x to (y 450 to 480).
struct BottomButton {
    float left, right;
};
const BottomButton bottom_buttons[3] = {{0, 0}, {468, 555}, {576, 640}};

// The start/pause button's label by play state (0 running, 1 paused, 2 not started).
const char *const run_state_labels[3] = {"PAUSE", "RESUME", "START"};

EngTexture sidebar_picture;
EngTexture button_background;
EngTexture locked_overlay;
EngTexture bottom_bar;
Weapon *preview_weapon = nullptr;

// The aspect factor sidebar_button_rects were derived with: they follow the
// window's shape, which a resize or a mode change may alter at any frame.
float rects_aspect = 0.0f;

// The last mouse position: in sidebar picture pixels, and in 640 x 480 units.
float mouse_sx = -1.0f, mouse_sy = -1.0f;
float mouse_x = -1.0f, mouse_y = -1.0f;

bool IsFactoryButton(int i)
{
    return i >= WEAPON_FIRST_FACTORY;
}

bool FamilyHasFactory(int family)
{
    return weapons_factory_level[family] > 0;
}

// A factory button whose family stands already sells nothing.
bool IsSpentFactoryButton(int i)
{
    return IsFactoryButton(i) && FamilyHasFactory(i - WEAPON_FIRST_FACTORY);
}

bool MouseInSidebar()
{
    return mouse_sx >= 0.0f && mouse_sx < PICTURE_W && mouse_sy >= 0.0f && mouse_sy < PICTURE_H;
}

void UpdateEnabled()
{
    for (int i = 0; i < SIDEBAR_BUTTONS; i++)
        sidebar_enabled[i] = IsFactoryButton(i) ? !IsSpentFactoryButton(i)
                                                : i % 3 < weapons_factory_level[i / 3];
}

// Copies the whole of from onto the sidebar picture at the pixel rectangle.
void CopyOnto(EngTexture *from, int x, int y, int w, int h)
{
    if (!from || !from->IsCreated())
        return;
    sidebar_picture.CopyPartFromAnotherTextureUsingInts(from, 0, 0, from->GetWidth(), from->GetHeight(), x, y, w, h,
                                                        1, nullptr);
}

// The pictures a button shows inside its frame (up to two, the second over the first).
void ButtonPictures(int i, EngTexture **first, EngTexture **second)
{
    *first = *second = nullptr;
    if (!IsFactoryButton(i)) {
        *first = &weapons_base_textures[i];
        if (weapons_turret_textures[i].IsCreated())
            *second = &weapons_turret_textures[i];
    } else if (!IsSpentFactoryButton(i)) {
        *first = &weapons_factory_textures[(i - WEAPON_FIRST_FACTORY) * 3];
    }
}

bool ComposeSidebarPicture()
{
    if (!sidebar_picture.IsCreated()) {
        if (!sidebar_picture.LoadFromFile("Data/1016.dat", 1, 2, 0))
            return false;
        sidebar_picture.PositionRatioed(0, 0, SIDEBAR_W, BOARD_BOTTOM);
    }
    if (!button_background.IsCreated() || !locked_overlay.IsCreated())
        return false;
    for (int i = 0; i < SIDEBAR_BUTTONS; i++) {
        const _SidebarPixelRect &p = sidebar_button_pixels[i];
        const int w = p.right - p.left, h = p.bottom - p.top;
        CopyOnto(&button_background, p.left, p.top, w, h);
        EngTexture *first, *second;
        ButtonPictures(i, &first, &second);
        CopyOnto(first, p.left + 4, p.top + 4, w - 8, h - 8);
        CopyOnto(second, p.left + 4, p.top + 4, w - 8, h - 8);
        if (!IsFactoryButton(i) && !sidebar_enabled[i])
            CopyOnto(&locked_overlay, p.left, p.top, w, h);
    }
    return true;
}

bool EnsureBottomBar(bool reload)
{
    if (reload)
        bottom_bar.Destroy();
    if (!bottom_bar.IsCreated()) {
        if (!bottom_bar.LoadFromFile("Data/1020.dat", 1, 2, 0))
            return false;
        bottom_bar.PositionRatioed(0, BOARD_BOTTOM, 640, 480 - BOARD_BOTTOM);
    }
    return true;
}

// Grows a rectangle by the amounts on each side and keeps it on the screen.
void GrowAndClamp(_Dimension *r, float grow_x, float grow_y, bool clamp_y)
{
    r->x -= grow_x;
    r->w += 2.0f * grow_x;
    r->y -= grow_y;
    r->h += 2.0f * grow_y;
    if (r->x < 0.0f)
        r->x = 0.0f;
    if (r->x + r->w > 640.0f)
        r->x = 640.0f - r->w;
    if (!clamp_y)
        return;
    if (r->y < 0.0f)
        r->y = 0.0f;
    if (r->y + r->h > 480.0f)
        r->y = 480.0f - r->h;
}

// A text centred in the level panel at the font's scale, narrowed to fit
// the panel when it is wider (a long bug name in a level title).
void DrawInLevelPanel(EngFont *font, float y, const char *text)
{
    const float scale_x = 0.74f, scale_y = 0.8f;
    const float left = (PANEL_LEFT + PANEL_TEXT_INSET) * SIDEBAR_W / PICTURE_W;
    const float right = (PANEL_RIGHT - PANEL_TEXT_INSET) * SIDEBAR_W / PICTURE_W;
    const float room = 2.0f * std::min(PANEL_TEXT_X - left, right - PANEL_TEXT_X);
    font->SetScale(scale_x, scale_y);
    const float width = font->GetStringWidth(text);
    if (width > room)
        font->SetScale(scale_x * room / width, scale_y);
    font->DrawString(PANEL_TEXT_X, y, 1, 1, text, 0);
}

void DrawTexts()
{
    EngFont *font = GameGetFont();
    if (bugs_count <= 0 || !font)
        return;
    EngFontPrepareForDrawingDefaultOrientation(1);
    font->SetColour(1.0f, 1.0f, 1.0f, 0.8f);
    DrawInLevelPanel(font, 18.0f, play_title_text);
    DrawInLevelPanel(font, 44.0f, play_hp_text);
    font->SetScale(1.2f, 1.0f);
    font->DrawString(111.0f, 465.0f, 0, 1, play_score_text, 0);
    font->DrawString(280.0f, 465.0f, 0, 1, play_money_text, 0);
    font->DrawString(420.0f, 465.0f, 0, 1, play_lives_text, 0);
    if (sidebar_bottom_hover == 1)
        font->SetColour(-1.0f, -1.0f, -1.0f, 1.0f);
    const int state = play_run_state >= 0 && play_run_state <= 2 ? play_run_state : 0;
    font->DrawString(510.0f, 465.0f, 1, 1, run_state_labels[state], 0);
    EngFontRestoreAfterDrawing();
}

char SidebarClick(char button, char state)
{
    if (!MouseInSidebar())
        return 0;
    if (button != 0)
        return 1;
    if (sidebar_placing && (state == 1 || state == 2)) {
        SidebarCancelPlacing();
        if (state == 1) {
            SidebarDeselect();
            return 1;
        }
    }
    if (sidebar_hovered >= 0 && sidebar_enabled[sidebar_hovered] && state != 0)
        SidebarStartPlacingWeapon(sidebar_hovered);
    return 1;
}

void OpenPauseScreen()
{
    if (main_game && main_game->GetMWinIfAny())
        main_game->GetScreens()->StartScreen(HW_SCREEN_PAUS, -1);
}

char SidebarBottomClick(char button, char state)
{
    if (mouse_y < BOARD_BOTTOM)
        return 0;
    if (button != 0 || state != 1)
        return 1;
    if (sidebar_bottom_hover == 1) {
        play_run_state = play_run_state == 0 ? 1 : 0;
        TutorialUpdateHint();
    } else if (sidebar_bottom_hover == 2) {
        OpenPauseScreen();
    }
    return 1;
}

} // namespace

char SidebarSetup()
{
    const float aspect = eng_font_scale_x;
    rects_aspect = aspect;
    for (int i = 0; i < SIDEBAR_BUTTONS; i++) {
        _SidebarPixelRect &p = sidebar_button_pixels[i];
        p.left = column_left[i % 3];
        p.right = p.left + COLUMN_W;
        p.top = ROW_TOP + ROW_STEP * (i / 3);
        p.bottom = p.top + ROW_H;
        _Dimension &r = sidebar_button_rects[i];
        r.x = p.left * SIDEBAR_W / PICTURE_W * aspect;
        r.y = p.top * 480.0f / PICTURE_H;
        r.w = p.right * SIDEBAR_W / PICTURE_W * aspect - r.x;
        r.h = p.bottom * 480.0f / PICTURE_H - r.y;
    }
    return 1;
}

char SidebarCreateGraphics()
{
    if (!button_background.LoadFromFile("Data/1017.dat", 1, 2, 0) || !locked_overlay.LoadFromFile("Data/1018.dat", 1, 2, 0))
        return 0;
    return SidebarRefresh(1);
}

void SidebarDestroyGraphics()
{
    sidebar_picture.Destroy();
    button_background.Destroy();
    locked_overlay.Destroy();
    bottom_bar.Destroy();
}

char SidebarRefresh(int flags)
{
    UpdateEnabled();
    if (flags & SIDEBAR_REFRESH_ENABLED_ONLY)
        return 1;
    if (!ComposeSidebarPicture())
        return 0;
    return EnsureBottomBar(flags != 0);
}

void SidebarResetForNewGame()
{
    SidebarRefresh(0);
}

void SidebarDraw()
{
    sidebar_picture.Draw();
    bottom_bar.Draw();
    DrawTexts();
}

char SidebarMouseMove(float x, float y)
{
    mouse_x = x;
    mouse_y = y;
    sidebar_bottom_hover = 0;
    mouse_sx = x * PICTURE_W / SIDEBAR_W;
    mouse_sy = y * PICTURE_H / BOARD_BOTTOM;

    const int old = sidebar_hovered;
    sidebar_hovered = -1;
    if (MouseInSidebar()) {
        for (int i = 0; i < SIDEBAR_BUTTONS; i++) {
            const _SidebarPixelRect &p = sidebar_button_pixels[i];
            if (p.left <= mouse_sx && mouse_sx < p.right && p.top <= mouse_sy && mouse_sy < p.bottom &&
                !IsSpentFactoryButton(i)) {
                sidebar_hovered = i;
                break;
            }
        }
        if (sidebar_hovered != old)
            PopupRefresh(1);
        return 1;
    }
    if (sidebar_hovered != old)
        PopupRefresh(1);
    if (y < BOARD_BOTTOM)
        return 0;
    for (int i = 1; i <= 2; i++)
        if (x >= bottom_buttons[i].left && x < bottom_buttons[i].right && y < 480.0f)
            sidebar_bottom_hover = (uint8_t)i;
    return 1;
}

char SidebarHandleClick(char button, char state)
{
    if (SidebarClick(button, state))
        return 1;
    return SidebarBottomClick(button, state);
}

char SidebarStartPlacingWeapon(int type)
{
    if (type > 11 || type < 0) {
        DebugErrorCode("SidebarStartPlacingWeapon", 'IERR');
        return 0;
    }
    if (sidebar_placing || play_money < weapons_level_info[type][0].cost)
        return 0;
    sidebar_placing = 1;
    sidebar_placing_type = type;
    SidebarDeletePreviewWeapon();
    preview_weapon = new Weapon(type, play_board_x, play_board_y);
    // The preview is drawn over the whole screen, so it follows the pointer.
    preview_weapon->MoveTo(play_pointer_x, play_pointer_y);
    SoundPlay(SOUND_PLACING_STARTS);
    return 1;
}

void SidebarCancelPlacing()
{
    sidebar_placing = 0;
    HiveWatcherSetPointer(0);
    SidebarDeletePreviewWeapon();
}

void SidebarDeselect()
{
    sidebar_hovered = -1;
    sidebar_bottom_hover = 0;
    PopupRefresh(1);
    SidebarRefresh(255);
}

void SidebarDeletePreviewWeapon()
{
    delete preview_weapon;
    preview_weapon = nullptr;
}

void SidebarDrawPreviewWeapon()
{
    if (preview_weapon)
        preview_weapon->Draw();
}

void SidebarMovePreviewWeapon(float x, float y)
{
    if (preview_weapon)
        preview_weapon->MoveTo(x, y);
}

char SidebarGetSideButtonPosition(int button, char sidebar_space, float grow_x, float grow_y, _Dimension *out)
{
    if (!out) {
        DebugErrorCode("SidebarGetSideButtonPosition", 'BAPA');
        return 0;
    }
    if (button < 0 || button >= SIDEBAR_BUTTONS) {
        DebugError("SidebarGetSideButtonPosition", "Bad bnum %d.", button);
        return 0;
    }
    // Derived again when the window changed shape since: the rectangles
    // hold the factor that sidebar space divides out.
    if (eng_font_scale_x != rects_aspect)
        SidebarSetup();
    *out = sidebar_button_rects[button];
    if (sidebar_space) {
        // The picture is drawn 450 units high, not 480, and not widened.
        const float aspect = eng_font_scale_x > 0.0f ? eng_font_scale_x : 1.0f;
        const float squeeze_y = 1.0666667f;
        out->x /= aspect;
        out->w /= aspect;
        out->y /= squeeze_y;
        out->h /= squeeze_y;
    }
    GrowAndClamp(out, grow_x, grow_y, true);
    return 1;
}

_Dimension SidebarGetLevelPanel()
{
    const float x_scale = SIDEBAR_W / PICTURE_W, y_scale = BOARD_BOTTOM / PICTURE_H;
    return {PANEL_LEFT * x_scale, PANEL_TOP * y_scale, (PANEL_RIGHT - PANEL_LEFT) * x_scale,
            (PANEL_BOTTOM - PANEL_TOP) * y_scale};
}

char SidebarGetBottomButtonPosition(int button, char log, float grow_x, float grow_y, _Dimension *out)
{
    if (!out) {
        DebugErrorCode("SidebarGetBottomButtonPosition", 'BAPA');
        return 0;
    }
    if (button != 0) {
        DebugErrorCode("SidebarGetBottomButtonPosition", 'NOIM');
        return 0;
    }
    *out = {468.0f, 450.0f, 87.0f, 30.0f};
    if (log)
        DebugInfo("[%.0f %.0f %.0f %.0f]", out->x, out->y, out->w, out->h);
    GrowAndClamp(out, grow_x, grow_y, false);
    return 1;
}

void SidebarResetForTests()
{
    SidebarDestroyGraphics();
    SidebarDeletePreviewWeapon();
    sidebar_hovered = -1;
    sidebar_bottom_hover = 0;
    sidebar_placing = 0;
    sidebar_placing_type = -1;
    mouse_sx = mouse_sy = mouse_x = mouse_y = -1.0f;
    SidebarSetup();
    UpdateEnabled();
}
