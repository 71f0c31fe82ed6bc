// The Scores screen (see the header).
#include "screens/ScoresCC.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindow.h"
#include "engine/runtime/EngWindowInput.h"
#include "game/Game.h"
#include "game/ScoresWorld.h"
#include "game/HW_Screens.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/Program.h"
#include "game/Scores.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinTabPanel.h"
#include "modules/Countries.h"
#include "screens/SelectCC.h"
#include "modules/Platform.h"
#include "modules/UserClass.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace {

// The key of the letter, as an index of the key states.
const int kKeyS = 'S';

const _ScreenTextStyle heading_style = {"Main", 1, 1, 1, 0.8f, 1.6f, 1.74f, MWTA_CENTER};
const _ScreenTextStyle garden_style = {"Main", 0, 0, 0, 0.7f, 1, 1, MWTA_CENTER};
const _ScreenTextStyle info_style = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_CENTER};
const _ScreenTextStyle *const menu = &screen_menu_style;

constexpr _ScreenControlRow Push(const char *id, const char *texbut, const char *text, float x, float y, float w,
                                 float h, const _ScreenTextStyle *style)
{
    return {id, SCA_BUTTON, MWBT_PUSH, texbut, text, nullptr, x, y, w, h, style, {0, 0, 0, 0}, 0};
}

const std::array<_ScreenControlRow, SCB_COUNT> normal_rows = {{
    {"Title", SCA_BUTTON, MWBT_STATIC, "Back2", "", nullptr, 128, 0, 384, 84, menu, {0, 0, 0, 0}, 0},
    {"Heading", SCA_BUTTON, MWBT_STATIC, "MWIN_TEXBUT_NONE", "HIGH SCORES", nullptr, 170, 85, 300, 20,
     &heading_style, {0, 0, 0, 0}, 0},
    Push("Level0", "Main", "", 10, 80, 70, 70, &garden_style),
    Push("Level1", "Main", "", 90, 80, 70, 70, &garden_style),
    Push("Level2", "Main", "", 480, 80, 70, 70, &garden_style),
    Push("Level3", "Main", "", 560, 80, 70, 70, &garden_style),
    {"Which", SCA_BUTTON, MWBT_CHOICE, "MWIN_TEXBUT_DEFAULT", "", nullptr, 170, 120, 105, 25, menu, {0, 0, 0, 0},
     0},
    {"Range", SCA_BUTTON, MWBT_CHOICE, "MWIN_TEXBUT_DEFAULT", "", nullptr, 280, 120, 190, 25, menu, {0, 0, 0, 0},
     0},
    {"Scores", SCA_TAB_PANEL, MWBT_PUSH, "MWIN_TEXBUT_NONE", "", nullptr, 10, 155, 620, 280, menu, {0, 0, 0, 0},
     0},
    Push("Update", "MWIN_TEXBUT_DEFAULT", "Update", 10, 440, 70, 30, menu),
    Push("Submit", "MWIN_TEXBUT_DEFAULT", "Submit", 90, 440, 70, 30, menu),
    Push("FindMe", "MWIN_TEXBUT_DEFAULT", "Me", 170, 440, 40, 30, menu),
    Push("Reset", "MWIN_TEXBUT_DEFAULT", "Reset", 220, 440, 45, 30, menu),
    Push("Back", "MWIN_TEXBUT_DEFAULT", "Back", 565, 440, 65, 30, menu),
    {"DbgDelete", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Delete", nullptr, 15, 5, 40, 15, menu,
     {1, 1, 1, 0.299f}, 0},
    Push("Info", "Back3", "Info", 275, 440, 281.6f, 30, &info_style),
}};

// The tablet in landscape has a lower table; the portrait layouts build the
// Normal rows.
const std::array<_ScreenControlRow, SCB_COUNT> ipad_landscape_rows = [] {
    std::array<_ScreenControlRow, SCB_COUNT> rows = normal_rows;
    rows[SCB_SCORES].h = 275;
    return rows;
}();

// The landscape phone has no title picture: the heading at the top, the
// gardens beside it, a taller table and a row of 50-high buttons under it.
const std::array<_ScreenControlRow, SCB_COUNT> iphone_landscape_rows = [] {
    std::array<_ScreenControlRow, SCB_COUNT> rows = normal_rows;
    ScreenMoveRows(rows.data(), SCB_COUNT,
                   {
                       {SCB_HEADING, 170, 0, 300, 35},
                       {SCB_LEVEL0, 5, 5, 75, 75},
                       {SCB_LEVEL1, 85, 5, 75, 75},
                       {SCB_LEVEL2, 480, 5, 75, 75},
                       {SCB_LEVEL3, 560, 5, 75, 75},
                       {SCB_WHICH, 170, 40, 105, 35},
                       {SCB_RANGE, 280, 40, 190, 35},
                       {SCB_SCORES, 5, 85, 630, 330},
                       {SCB_UPDATE, 5, 425, 80, 50},
                       {SCB_SUBMIT, 90, 425, 80, 50},
                       {SCB_FINDME, 175, 425, 50, 50},
                       {SCB_RESET, 230, 425, 60, 50},
                       {SCB_INFO, 295, 425, 230, 50},
                       {SCB_BACK, 530, 425, 105, 50},
                       {SCB_DBG_DELETE, 475, 80, 40, 15},
                   });
    rows[SCB_TITLE].hidden = 1;
    return rows;
}();

const _ScreenWindowRow windows[] = {
    {"Main", 0, 0, 640, 480, nullptr,
     {normal_rows.data(), nullptr, iphone_landscape_rows.data(), nullptr, ipad_landscape_rows.data()}, SCB_COUNT},
};

// Which column each role takes in a view (-1 none) and the columns' widths
// in percent of the table.
struct ViewColumns {
    int column[SCC_COUNT];
    int count;
    int widths[SCC_COUNT];
};
//                                POS DATE NAME CTRY DEV LEVEL SCORE
const ViewColumns local_columns = {{0, 3, 1, 2, -1, 4, 5}, 6, {10, 28, 12, 20, 16, 13, 0}};
const ViewColumns online_columns = {{0, 2, 1, 3, 5, 4, 6}, 7, {10, 28, 15, 12, 16, 10, 13}};

const char *const column_titles[SCC_COUNT] = {"Pos", "Date", "Name", "Country", "Device", "Level", "Score"};
// Roles whose alignment differs from the table's own (-1).
const int column_aligns[SCC_COUNT] = {MWTA_RIGHT, -1, MWTA_LEFT, -1, -1, MWTA_CENTER, MWTA_RIGHT};

const char *which_strings[] = {"Local", "Online"};
const char *const range_long[] = {"Year", "Month", "Week", "Day"};
const char *const range_short[] = {"Y", "M", "W", "D"};

const float update_colour[4] = {1, 1, 1, 0.698f};

// The controller whose table asks for its cell texts (the game has one).
ScoresCC *table_owner = nullptr;

const char *CellTextCB(int row, int column, MWinTabPanel *)
{
    return table_owner ? table_owner->GetCellText(row, column) : "";
}

const char *RangeStringCB(int index, MWinButton *button, void *)
{
    if (index < 0 || index > 3)
        return "";
    return button && button->ChoiceGetSel() == index ? range_long[index] : range_short[index];
}

bool IsPlayers(const _ScoresScore &entry, const _UserInfo *player)
{
    return player && entry.user_id == player->player_id &&
           std::strncmp(entry.name, player->name, SCORES_NAME_SIZE) == 0 &&
           std::strncmp(entry.country, ScoresGetPlayersCountry(player), SCORES_COUNTRY_SIZE) == 0;
}

void ResetDoneCB(MWin *, char result, void *user)
{
    if (result != 1 || !user)
        return;
    ScoresDeleteUsersScoresForCurrentGarden();
    static_cast<ScoresCC *>(user)->StartingCB(nullptr);
}

void AskSubmitDoneCB(MWin *, char result, void *user)
{
    if (user)
        static_cast<ScoresCC *>(user)->AfterSubmitLastScorePopup(result == 1);
}

} // namespace

// ---- Free functions ----

char ScoresCC_IsScoreEntryValid(int index, const _ScoresScore *score)
{
    const char *where = "ScoresCC_IsScoreEntryValid";
    if (!score) {
        DebugError(where, "%d: No score.", index);
        return 0;
    }
    const _EngMiscDate &date = score->date;
    if (date.year < 1900 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) {
        DebugError(where, "%d: Bad date [%d/%d/%d]", index, date.day, date.month, date.year);
        return 0;
    }
    if (!score->name[0]) {
        DebugError(where, "%d: No user name.", index);
        return 0;
    }
    return 1;
}

const char *ScoresCC_FormatCell(char *out, int size, _ScoresColumn role, int index, const _ScoresScore &entry,
                                char online, char day_first, int name_width)
{
    if (!out || size <= 0)
        return "";
    out[0] = 0;
    const int first = day_first ? entry.date.day : entry.date.month;
    const int second = day_first ? entry.date.month : entry.date.day;
    // World names need not be terminated within their field.
    const int name_length = static_cast<int>(strnlen(entry.name, SCORES_NAME_SIZE));
    switch (role) {
    case SCC_POS:
        std::snprintf(out, size, "%d.", index + 1);
        break;
    case SCC_DATE:
        if (online)
            std::snprintf(out, size, "%02d/%02d", first, second);
        else if (entry.date.year >= 2000 && entry.date.year <= 2999)
            std::snprintf(out, size, "%02d/%02d/%02d", first, second, entry.date.year - 2000);
        else
            std::snprintf(out, size, "%02d/%02d/%04d", first, second, entry.date.year);
        break;
    case SCC_NAME:
        if (name_width <= 4)
            std::snprintf(out, size, "%.*s", name_length, entry.name);
        else if (name_length > name_width)
            std::snprintf(out, size, "%.*s...", name_width - 3, entry.name);
        else
            std::snprintf(out, size, "%.*s", std::min(name_length, name_width - 1), entry.name);
        break;
    case SCC_LEVEL:
        if (entry.level >= 100 && entry.level <= 199)
            std::snprintf(out, size, "%dT", entry.level - 100);
        else if (entry.level >= 200 && entry.level <= 299)
            std::snprintf(out, size, "%dX", entry.level - 200);
        else
            std::snprintf(out, size, "%d", entry.level);
        break;
    case SCC_SCORE:
        std::snprintf(out, size, "%d", entry.score);
        break;
    default:
        break;
    }
    return out;
}

int ScoresCC_FindMeFirstRow(int first, int row, int page_rows, int rows)
{
    if (first + page_rows - 1 < row)
        first = std::min(row - page_rows / 2, rows - page_rows + 1);
    if (first > row)
        first = std::max(std::min(row - page_rows / 2, rows - page_rows + 1), 0);
    return first;
}

MWinCollectionController *ScoresCC_Make(HW_Screens *screens)
{
    return new ScoresCC(screens);
}

ScoresCC *ScoresCC_Get(const char *where)
{
    ScoresCC *scores = nullptr;
    if (main_game && main_game->GetScreens())
        scores = dynamic_cast<ScoresCC *>(main_game->GetScreens()->GetController(HWS_SCORES));
    if (!scores && where)
        DebugError(where, "No scores screen");
    return scores;
}

void ScoresCC_AskSubmit(const char *text)
{
    ScoresCC *scores = ScoresCC_Get("ScoresCC_AskSubmit");
    if (scores && main_game->GetMWinIfAny())
        main_game->GetMWinIfAny()->PopupOkCancel(nullptr, text, AskSubmitDoneCB, scores);
}

// ---- The layout ----

ScoresCollectionController::ScoresCollectionController(MWinScreens *screens)
    : ScreenController(screens, "ScoresCollectionController", "Scores", windows, 1)
{
}

// ---- The behaviour ----

ScoresCC::ScoresCC(MWinScreens *screens)
    : ScoresCollectionController(screens), m_shown_garden(0), m_first_row(0), m_count(0), m_list(nullptr),
      m_page_rows(0), m_players_row(-1), m_players_local_index(-1), m_highlight_row(-1),
      m_columns{0, 1, 2, 3, 4, 5, 6}, m_column_count(SCC_COUNT), m_name_width(0), m_refresh_pending(0),
      m_refresh_time(0), m_failed_time(0), m_last_score_timer(0), m_next_tick(0), m_row_order{}, m_rows(0),
      m_text{}
{
}

_UserOptions *ScoresCC::Options()
{
    return &m_game->GetUserInfo()->options;
}

char ScoresCC::IsOnline()
{
    return Options()->scores_online == 1;
}

char ScoresCC::IsScreenCurrent()
{
    if (!main_game || !main_game->GetMWinIfAny() || !main_game->GetMWinIfAny()->IsOn())
        return 0;
    HW_Screens *screens = main_game->GetScreens();
    return screens->IsOn() && screens->GetCurrentScreen() == HW_SCREEN_STAT;
}

void ScoresCC::ClearTable()
{
    m_count = 0;
    m_list = nullptr;
    m_rows = 0;
}

void ScoresCC::MarkRefresh()
{
    m_refresh_pending = 1;
    m_refresh_time = eng_main_program_time;
}

char ScoresCC::IsInternetAllowed(char ask)
{
    return eng_screen_windowed || ScoresIsInternetAccessAllowed(m_game, ask);
}

void ScoresCC::StartingCB(void *)
{
    _UserOptions *options = Options();
    options->scores_list_flag = 0;
    if (MWinButton *back = Control(SCB_BACK))
        back->SetEscapeButtonForParentWindow();
    if (levels_garden >= 0 && levels_garden <= 3) {
        m_shown_garden = levels_garden;
        options->scores_garden = static_cast<unsigned char>(levels_garden);
    } else {
        // A stored garden out of range shows the first.
        m_shown_garden = options->scores_garden <= 3 ? options->scores_garden : 0;
    }
    ScoresReadCurrentGardenScores();
    if (MWinButton *which = Control(SCB_WHICH)) {
        which->ChoiceSetStrings(2, which_strings);
        which->ChoiceRegisterCharVariable(reinterpret_cast<char *>(&options->scores_online), 0);
    }
    if (options->scores_range < SR_YEAR || options->scores_range > SR_DAY)
        options->scores_range = SR_YEAR;
    if (MWinButton *range = Control(SCB_RANGE)) {
        range->ChoiceSetStringsCallback(4, RangeStringCB, this);
        range->ChoiceSetSel(options->scores_range - 1, 0);
        range->ChoiceSetSelectionExtraWidthMultiplier(2);
    }
    CountryCreateGraphics();
    PlatformCreateGraphics();
    SelectCC_CreateGraphics();
    for (int garden = 0; garden < 4; garden++) {
        MWinButton *button = Control(static_cast<_ScoresControl>(SCB_LEVEL0 + garden));
        EngTexture *thumbnail = SelectCC_GetThumbnail(garden);
        if (!button || !thumbnail)
            continue;
        button->PictureAttachTextureToButton(thumbnail, 0);
        button->PictureSetTextureCoordinates(0.0625f, 0.0625f, 0.9375f, 0.9375f);
        button->PictureSetAllMarginsPercentage(6);
    }
    TitlePictureAttachToButton(Control(SCB_TITLE));
    if (MWinButton *info = Control(SCB_INFO)) {
        info->SetText("");
        info->Hide();
    }
    ChangeView();
    RangeCB(m_mwin, nullptr);
    RefreshList();
}

void ScoresCC::SetupList(int select_row)
{
    MWinTabPanel *table = static_cast<MWinTabPanel *>(Control(SCB_SCORES));
    if (!table)
        return;
    ClearTable();
    _UserOptions *options = Options();
    ScoresGetSubsetForRange(static_cast<_ScoresRange>(options->scores_range), 0, 0);
    const char online = IsOnline();
    if (options->scores_online == 0) {
        m_list = scores_subset;
        m_count = scores_subset_count;
    } else if (online) {
        m_list = ScoresWorldGetScoresList();
        m_count = ScoresWorldGetNumScores();
    }
    // The rows hold at most as many entries as either list keeps.
    if (!m_list || m_count < 0)
        m_count = 0;
    m_count = std::min<int>(m_count, SCORES_SCREEN_MAX_ROWS);

    int bad = 0;
    for (int i = 0; i < m_count; i++)
        bad += !ScoresCC_IsScoreEntryValid(i, &m_list[i]);
    if (bad > 0)
        DebugError("ScoresCC::SetupList", "%d bad scores.", bad);
    if (bad >= 2)
        ClearTable();

    const _UserInfo *player = PlayerGetLoaded();
    m_players_local_index = -1;
    for (int i = 0; i < scores_subset_count && m_players_local_index < 0; i++)
        if (IsPlayers(scores_subset[i], player))
            m_players_local_index = i;
    if (MWinButton *submit = Control(SCB_SUBMIT))
        submit->SetEnabled(m_players_local_index >= 0);

    m_rows = m_count;
    for (int i = 0; i < m_rows; i++)
        m_row_order[i] = i;

    m_players_row = -1;
    if (online)
        for (int i = 0; i < m_rows && m_players_row < 0; i++)
            if (IsPlayers(m_list[m_row_order[i]], player))
                m_players_row = i;
    if (MWinButton *find_me = Control(SCB_FINDME))
        find_me->SetEnabled(m_players_row >= 0);

    m_page_rows = SCORES_SCREEN_PAGE_ROWS;
    m_first_row = std::max(std::min(m_first_row, m_rows - 1), 0);

    const ViewColumns &view = online ? online_columns : local_columns;
    std::memcpy(m_columns, view.column, sizeof(m_columns));
    m_column_count = view.count;
    m_name_width = SCORES_SCREEN_NAME_WIDTH;

    table_owner = this;
    table->SetEntryCallback(m_rows, m_column_count, m_page_rows, CellTextCB);
    for (int column = 0; column < m_column_count; column++)
        table->SetColumnWidthPercentage(column, view.widths[column]);
    for (int role = 0; role < SCC_COUNT; role++)
        if (m_columns[role] >= 0 && column_aligns[role] >= 0)
            table->SetColumnTextAlign(m_columns[role], static_cast<_MWinTextAlign>(column_aligns[role]));
    table->SetRowTextStyle(0, 0.9f, 0.9f, 1, 0.812f, 0.361f, 1);
    table->SetRowTextStyle(1, 0.9f, 0.9f, 0.357f, 0.992f, 1, 1);
    table->SetOptions(1, 0, 1, 0, 0, 0, 0);

    if (MWinButton *debug_delete = Control(SCB_DBG_DELETE))
        debug_delete->Hide();
    table->SetFirstVisibleRow(m_first_row);
    table->UnselectAllRows();
    if (m_rows == 0)
        return;
    if (select_row >= 0 && select_row < m_rows) {
        table->SelectRow(select_row, 1, 0, 0);
        table->ScrollToSelectedRow();
        return;
    }
    if (!online) {
        for (int row = 0; row < m_rows; row++)
            if (m_list[m_row_order[row]].flags[0] == SCORES_NEWEST)
                table->SelectRow(row, 1, 0, 0);
    } else if (m_players_row >= m_first_row && m_players_row <= m_first_row + m_page_rows - 1) {
        table->SelectRow(m_players_row, 1, 0, 0);
    }
}

const char *ScoresCC::GetCellText(int row, int column)
{
    int role = 0;
    while (role < SCC_COUNT && m_columns[role] != column)
        role++;
    if (row == -1)
        return role < SCC_COUNT ? column_titles[role] : "???";
    // The scores module frees and remakes its lists on every query: a list
    // that is no longer the module's is not read.
    const _ScoresScore *current = IsOnline() ? ScoresWorldGetScoresList() : scores_subset;
    if (row < 0 || row >= m_rows || !m_list || m_list != current || role == SCC_COUNT)
        return "";
    const int index = m_row_order[row];
    return ScoresCC_FormatCell(m_text, sizeof(m_text), static_cast<_ScoresColumn>(role), index, m_list[index],
                               IsOnline(), Options()->date_format == 1, m_name_width);
}

void ScoresCC::RenderCB(int pass)
{
    MWinTabPanel *table = static_cast<MWinTabPanel *>(Control(SCB_SCORES));
    if (pass != 1 || !table || !table->IsShown() || !eng_device)
        return;
    eng_device->EnableBlendingType(0);
    table->CropToTableRowsArea(0);
    DrawFlagsAndIcons();
    table->FinishRender();
    eng_device->DisableBlending();
}

void ScoresCC::DrawFlagsAndIcons()
{
    MWinTabPanel *table = static_cast<MWinTabPanel *>(Control(SCB_SCORES));
    const _ScoresScore *current = IsOnline() ? ScoresWorldGetScoresList() : scores_subset;
    if (!m_list || m_list != current)
        return;
    const int last = std::min(table->GetLastVisibleRow(), m_rows - 1);
    for (int row = std::max(table->GetFirstVisibleRow(), 0); row <= last; row++) {
        const _ScoresScore &entry = m_list[m_row_order[row]];
        _Dimension cell;
        if (m_columns[SCC_COUNTRY] >= 0 && table->GetCellArea(row, m_columns[SCC_COUNTRY], &cell)) {
            char code[SCORES_COUNTRY_SIZE + 1] = {};
            std::memcpy(code, entry.country, SCORES_COUNTRY_SIZE);
            const int country = CountryGetCountryNumFromCode(code, 1);
            const float half = 8 * eng_font_scale_x;
            const _Dimension flag = {cell.x + cell.w / 2 - half, cell.y, 2 * half, cell.h};
            if (country >= 0)
                CountryDrawFlagWithAlpha(country, &flag, 1);
        }
        if (m_columns[SCC_DEVICE] >= 0 && entry.platform != '?' &&
            table->GetCellArea(row, m_columns[SCC_DEVICE], &cell)) {
            const float half = 7 * eng_font_scale_x;
            const _Dimension icon = {cell.x + cell.w / 2 - half, cell.y + 1, 2 * half, cell.h - 2};
            PlatformDrawIcon(entry.platform, &icon, 1);
        }
    }
}

void ScoresCC::TickCB()
{
    MWinButton *update = Control(SCB_UPDATE);
    if (!update || !EngMiscCheckRepeatTimer(&m_next_tick, 0.1))
        return;
    const double now = eng_main_program_time;

    if (m_highlight_row < 0 && scores_last_added_index >= 0 && !IsOnline()) {
        SetupList(scores_last_added_index);
        if (m_last_score_timer == 0) {
            m_last_score_timer = now;
        } else if (now - m_last_score_timer > 1) {
            scores_last_added_index = -1;
            m_last_score_timer = 0;
        }
    }

    if (m_failed_time != 0 && now - m_failed_time > 3) {
        if (std::strcmp(update->GetTextP(), "Failed") == 0)
            update->SetText("Update");
        update->SetTextColour(update_colour[0], update_colour[1], update_colour[2], update_colour[3]);
        m_failed_time = 0;
    }

    if (IsOnline()) {
        if (ScoresWorldIsUpdating()) {
            if (update->IsEnabled()) {
                update->Disable();
                update->SetText("Updating...");
                update->SetTextColour(update_colour[0], update_colour[1], update_colour[2], update_colour[3]);
            }
            // The poll's answer is a byte whose negative values are faults;
            // -2 is not one worth showing.
            const signed char result = static_cast<signed char>(ScoresWorldIsUpdateFinished());
            if (result != 0) {
                SetupList(-1);
                FindMe();
            }
            if (result < 0 && result != -2) {
                update->SetText("Failed");
                update->SetTextColour(1, 0, 0, 1);
                m_failed_time = now;
            }
        } else {
            const char allowed = IsInternetAllowed(0);
            MWinButton *info = Control(SCB_INFO);
            const char popup = m_mwin && m_mwin->IsPopupOn();
            if ((!info || !info->IsShown()) && allowed && (m_refresh_pending || Options()->scores_auto_update) &&
                !popup && ScoresWorldUpdateIfNeeded() == 2) {
                SetupList(-1);
                FindMe();
                m_refresh_pending = 0;
            }
            if (m_refresh_pending && now - m_refresh_time > 0.75) {
                if (popup)
                    m_refresh_time = now;
                else
                    m_refresh_pending = 0;
            }
            if (m_failed_time == 0 && !update->IsEnabled()) {
                update->Enable();
                update->SetText("Update");
            }
        }
    }

    if (eng_main_key_states[kKeyS] && m_mwin && m_mwin->IsOn() && !m_mwin->IsPopupOn() && IsScreenCurrent()) {
        eng_main_key_states[kKeyS] = 0;
        Back();
    }
}

char ScoresCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    if (button == Control(SCB_RESET)) {
        if (m_mwin)
            m_mwin->PopupYesNo(nullptr, "Reset all scores?", ResetDoneCB, this);
    } else if (button == Control(SCB_SUBMIT)) {
        if (!IsInternetAllowed(1))
            return 1;
        MWinTabPanel *table = static_cast<MWinTabPanel *>(Control(SCB_SCORES));
        if (IsScreenCurrent() && table) {
            table->Hide();
            SubmitBest();
            SetupList(-1);
            if (MWinTabPanel *shown = static_cast<MWinTabPanel *>(Control(SCB_SCORES)))
                shown->m_shown = 1;
        } else {
            SubmitBest();
        }
    } else if (button == Control(SCB_UPDATE)) {
        if (IsOnline() && IsInternetAllowed(1))
            ScoresWorldUpdate();
    } else if (button == Control(SCB_LEVEL0) || button == Control(SCB_LEVEL1) || button == Control(SCB_LEVEL2) ||
               button == Control(SCB_LEVEL3)) {
        for (int garden = 0; garden < 4; garden++)
            if (button == Control(static_cast<_ScoresControl>(SCB_LEVEL0 + garden)))
                SelectGarden(garden);
    } else if (button == Control(SCB_WHICH)) {
        ChangeView();
    } else if (button == Control(SCB_RANGE)) {
        RangeCB(m_mwin, info);
    } else if (button == Control(SCB_FINDME)) {
        FindMe();
    } else if (button == Control(SCB_TITLE)) {
        TitlePictureGoOnline(button);
    } else if (button == Control(SCB_BACK)) {
        Back();
    } else {
        return 0;
    }
    return 1;
}

void ScoresCC::SubmitBest()
{
    if (!IsInternetAllowed(1))
        return;
    ScoresSubmitUsersBestScoreForCurrentGardenAndRange(static_cast<_ScoresRange>(Options()->scores_range));
    MarkRefresh();
}

void ScoresCC::SelectGarden(int garden)
{
    m_shown_garden = static_cast<short>(garden);
    ScoresWorldRelease();
    ScoresReadCurrentGardenScores();
    RefreshList();
}

void ScoresCC::ChangeView()
{
    m_highlight_row = m_players_row = m_players_local_index = -1;
    if (MWinTabPanel *table = static_cast<MWinTabPanel *>(Control(SCB_SCORES)))
        table->RemoveAllRows();
    ClearTable();
    MWinButton *which = Control(SCB_WHICH);
    const char online = which && which->ChoiceGetSel() == 1;
    if (MWinButton *update = Control(SCB_UPDATE))
        update->SetEnabled(online);
    if (MWinButton *reset = Control(SCB_RESET))
        reset->SetEnabled(!online);
    RefreshList();
    if (online)
        FindMe();
}

void ScoresCC::RangeCB(MWin *, _MWinButtonCallbackInfo *)
{
    MWinButton *range = Control(SCB_RANGE);
    if (!range)
        return;
    Options()->scores_range = static_cast<unsigned char>(range->ChoiceGetSel() + 1);
    m_highlight_row = m_players_row = m_players_local_index = -1;
    if (MWinTabPanel *table = static_cast<MWinTabPanel *>(Control(SCB_SCORES)))
        table->RemoveAllRows();
    ClearTable();
    RefreshList();
    if (IsOnline())
        FindMe();
}

void ScoresCC::RefreshList()
{
    MarkRefresh();
    ScoresWorldRelease();
    if (m_shown_garden != scores_last_added_garden)
        scores_last_added_index = -1;
    Options()->scores_garden = static_cast<unsigned char>(m_shown_garden);
    m_first_row = 0;
    if (!IsScreenCurrent())
        return;
    SetupList(-1);
    if (MWinButton *heading = Control(SCB_HEADING))
        heading->SetTextPrintf("GARDEN %d HIGH SCORES", m_shown_garden + 1);
}

void ScoresCC::FindMe()
{
    if (m_players_row < 0 || m_players_row >= m_rows || !m_list)
        return;
    m_highlight_row = m_players_row;
    if (MWinTabPanel *table = static_cast<MWinTabPanel *>(Control(SCB_SCORES)))
        m_first_row = table->GetFirstVisibleRow();
    m_first_row = ScoresCC_FindMeFirstRow(m_first_row, m_players_row, m_page_rows, m_rows);
    SetupList(-1);
}

void ScoresCC::Back()
{
    ScoresWorldRelease();
    SelectCC_DestroyGraphics();
    PlatformDestroyGraphics();
    CountryDestroyGraphics();
    m_screens->GoBack();
}

void ScoresCC::SetInfoText(const char *text)
{
    MWinButton *info = Control(SCB_INFO);
    if (!text || !text[0] || !info)
        return;
    info->SetText(text);
    info->m_shown = 1;
}

void ScoresCC::AfterSubmitLastScorePopup(char yes)
{
    if (!yes)
        return;
    ScoresSubmitUsersLastScoreForCurrentGarden();
    MarkRefresh();
}

void ScoresCC::ForceWorldScoresUpdate(char do_it)
{
    if (do_it)
        ScoresWorldAllScoresForCurrentGardenNeedToBeUpdated();
}

void ScoresCC::ShowLastGame()
{
    m_highlight_row = -1;
    m_last_score_timer = 0;
}
