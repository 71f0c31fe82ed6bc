// The tutorial hints (see the header).
#include "game/Tutorial.h"

#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngMain.h"
#include "game/HiveWatcher.h"
#include "game/PlayNeighbours.h"
#include "game/Sidebar.h"
#include "game/Weapon.h"
#include "game/Weapons.h"

#include <cstring>

uint8_t tutorial_on = 0;
int32_t tutorial_state = -1;
float tutorial_alpha = 0.0f;
float tutorial_pulse = 1.0f;
char tutorial_text[TUTORIAL_TEXT_SIZE] = "";
_Dimension tutorial_box = {};
float tutorial_box_centre_x = 0.0f, tutorial_box_centre_y = 0.0f;
_Dimension tutorial_highlights[TUTORIAL_HIGHLIGHTS] = {};

namespace {

constexpr float BOX_H = 50.0f;
// The board's left edge: the sidebar ends there.
constexpr float BOARD_LEFT = 100.0f;
constexpr float TEXT_SCALE = 1.2f;
// The hint stays; its time mark is renewed this often.
constexpr double HOLD_PERIOD = 2.0;

EngTexture hint_picture;
float throb_phase = 0.0f;
double time_mark = 0.0;

// The first weapon button of each family, by the family that has a factory.
const int family_first_button[3] = {0, 3, 6};

int FirstFamilyWithFactory()
{
    for (int family = 0; family < 3; family++)
        if (weapons_factory_level[family] > 0)
            return family;
    return -1;
}

int PlacedShootingWeapons()
{
    int n = 0;
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i] && weapons_list[i]->m_type < WEAPON_SHOOTING_TYPES)
            n++;
    return n;
}

void Stop()
{
    tutorial_on = 0;
}

// Centres the box over the highlight, as wide as the text, kept on screen.
void PlaceBox()
{
    const _Dimension &h = tutorial_highlights[0];
    float width = 320.0f + 30.0f;
    if (EngFont *font = GameGetFont()) {
        font->SetScaleWithAspectCorrection(TEXT_SCALE, TEXT_SCALE);
        width = font->GetStringWidth(tutorial_text) + 30.0f;
    }
    const float cx = h.x + h.w / 2.0f;
    const float cy = h.y - BOX_H / 2.0f - 10.0f;
    _Dimension box = {cx - width / 2.0f, cy - BOX_H / 2.0f, width, BOX_H};
    if (box.x < 0.0f)
        box.x = 0.0f;
    if (box.y < 0.0f)
        box.y = 0.0f;
    if (box.x + box.w > 640.0f)
        box.x = 640.0f - box.w;
    if (box.y + box.h > 480.0f)
        box.y = 480.0f - box.h;
    // A box over the level panel (a hint on the top row of buttons) would
    // hide the level and the hit points: it moves right of the sidebar, onto
    // the board.
    const _Dimension panel = SidebarGetLevelPanel();
    if (box.x < panel.x + panel.w && box.y < panel.y + panel.h && box.y + box.h > panel.y)
        box.x = BOARD_LEFT;
    tutorial_box = box;
    tutorial_box_centre_x = box.x + box.w / 2.0f;
    tutorial_box_centre_y = box.y + box.h / 2.0f;
}

bool HintsWanted()
{
    return PlayerGetTutorialHints() != 0;
}

} // namespace

void TutorialRestart()
{
    tutorial_on = 1;
    time_mark = eng_main_program_time;
    tutorial_state = 0;
    tutorial_alpha = 0.0f;
    TutorialUpdateHint();
}

void TutorialUpdateHint()
{
    time_mark = eng_main_program_time;
    tutorial_on = 1;
    tutorial_state = 0;
    tutorial_alpha = 0.0f;
    memset(tutorial_highlights, 0, sizeof(tutorial_highlights));
    tutorial_text[0] = 0;
    if (!HintsWanted())
        return Stop();

    const int family = FirstFamilyWithFactory();
    const int placed = PlacedShootingWeapons();
    _Dimension &highlight = tutorial_highlights[0];
    if (family < 0) {
        EngSafeStrcpy(tutorial_text, "Place a factory in the garden.", sizeof(tutorial_text));
        _Dimension first, last;
        SidebarGetSideButtonPosition(9, 1, 6, 6, &first);
        SidebarGetSideButtonPosition(11, 1, 6, 6, &last);
        highlight = {first.x, first.y - 5.0f, last.x + last.w - first.x, first.h + 10.0f};
    } else if (placed >= 2) {
        if (play_run_state != 2)
            return Stop();
        EngSafeStrcpy(tutorial_text, "Press Start to begin...", sizeof(tutorial_text));
        SidebarGetBottomButtonPosition(0, 1, 5, 3, &highlight);
    } else {
        EngSafeStrcpy(tutorial_text, placed == 0 ? "Place a weapon near the road." : "Place another weapon near the road.",
                      sizeof(tutorial_text));
        SidebarGetSideButtonPosition(family_first_button[family], 1, 6, 11, &highlight);
    }
    if (!hint_picture.IsCreated())
        TutorialCreateGraphics();
    PlaceBox();
}

void TutorialTick()
{
    if (!tutorial_on || tutorial_state < 0)
        return;
    tutorial_pulse = 0.6f + 0.4f * EngMiscUpdateThrob(&throb_phase, play_frame_time * 5.0f, nullptr);
    if (tutorial_state == 0)
        tutorial_state = 1;
    if (tutorial_state == 1) {
        tutorial_alpha += play_frame_time * 5.0f;
        if (tutorial_alpha >= 1.0f) {
            tutorial_alpha = 1.0f;
            time_mark = eng_main_program_time;
            tutorial_state = 2;
        }
    } else if (tutorial_state == 2 && eng_main_program_time - time_mark > HOLD_PERIOD) {
        time_mark = eng_main_program_time;
    }
}

void TutorialDraw()
{
    if (!tutorial_on || tutorial_state < 0)
        return;
    hint_picture.SetColour(1.0f, 1.0f, 1.0f, tutorial_alpha * 0.8f);
    hint_picture.PositionRatioedToDimension(&tutorial_box);
    hint_picture.DrawStretchedWithCorners(6, 10, 0.12f, 0.12f, 1);
    hint_picture.SetColour(1.0f, 0.0f, 0.0f, tutorial_pulse * tutorial_alpha);
    for (const _Dimension &highlight : tutorial_highlights) {
        if (highlight.w <= 0.0f)
            continue;
        hint_picture.PositionRatioedToDimension(&highlight);
        hint_picture.DrawStretchedWithCorners(4, 6, 0.12f, 0.12f, 0);
    }
    EngFont *font = GameGetFont();
    if (!tutorial_text[0] || !font)
        return;
    EngFontPrepareForDrawingDefaultOrientation(1);
    font->SetScaleWithAspectCorrection(TEXT_SCALE, TEXT_SCALE);
    font->SetColour(1.0f, 1.0f, 1.0f, tutorial_alpha * 0.8f);
    font->DrawString(tutorial_box_centre_x, tutorial_box_centre_y - 1.0f, 1, 1, tutorial_text, 0);
    EngFontRestoreAfterDrawing();
}

char TutorialCreateGraphics()
{
    if (!tutorial_on || hint_picture.IsCreated())
        return 1;
    if (!hint_picture.LoadFromFile("Data/1024.dat", 1, 2, 0))
        return 0;
    hint_picture.PositionPure(-0.6f, -0.6f, 1.2f, 1.2f);
    return 1;
}

void TutorialDestroyGraphics()
{
    hint_picture.Destroy();
}

void TutorialResetForTests()
{
    hint_picture.Destroy();
    tutorial_on = 0;
    tutorial_state = -1;
    tutorial_alpha = 0.0f;
    tutorial_pulse = 1.0f;
    tutorial_text[0] = 0;
    tutorial_box = {};
    tutorial_box_centre_x = tutorial_box_centre_y = 0.0f;
    memset(tutorial_highlights, 0, sizeof(tutorial_highlights));
    throb_phase = 0.0f;
    time_mark = 0.0;
}
