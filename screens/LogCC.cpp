// The log viewer's screen (see the header).
#include "screens/LogCC.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngMainServices.h"
#include "game/HW_Screens.h"
#include "game/Program.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinWindow.h"

#include <new>
#include <vector>

namespace {

const _ScreenTextStyle list_style = {"Main", 1, 1, 1, 0.7f, 0.9f, 0.95f, MWTA_LEFT};

const _ScreenControlRow normal_rows[] = {
    {"CopySel", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Copy selected line(s)", "Logs_CopySel", 20, 405, 140,
     35, &screen_menu_style, {}, 0},
    {"Log", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", " ", nullptr, 10, 5, 620, 390, &list_style,
     {1, 1, 1, 0.6f}, 0},
    {"CopyAll", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Copy all lines", "Logs_CopyAll", 175, 405, 100, 35,
     &screen_menu_style, {}, 0},
    {"Help", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "?", nullptr, 290, 405, 30, 35, &screen_menu_style, {}, 0},
    {"Clear", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Clear", "Logs_Clear", 570, 405, 50, 35,
     &screen_menu_style, {}, 0},
};

// The phone layouts: larger buttons with shorter texts, above the bottom of
// a window that the phones' taller title bar leaves 425 high.
const _ScreenControlRow phone_rows[] = {
    {"CopySel", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Copy Selected", nullptr, 10, 375, 170, 45,
     &screen_menu_style, {}, 0},
    {"Log", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", " ", nullptr, 10, 5, 620, 360, &list_style,
     {1, 1, 1, 0.6f}, 0},
    {"CopyAll", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Copy All", nullptr, 190, 375, 140, 45,
     &screen_menu_style, {}, 0},
    {"Help", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "?", nullptr, 340, 375, 50, 45, &screen_menu_style, {}, 0},
    {"Clear", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Clear", nullptr, 530, 375, 100, 45, &screen_menu_style,
     {}, 0},
};

const _ScreenControlRow pad_rows[] = {
    {"CopySel", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Copy Selected Lines", nullptr, 10, 395, 200, 45,
     &screen_menu_style, {}, 0},
    {"Log", SCA_BUTTON, MWBT_PANEL, "MWIN_TEXBUT_DEFAULT", " ", nullptr, 10, 5, 620, 380, &list_style,
     {1, 1, 1, 0.6f}, 0},
    {"CopyAll", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Copy All Lines", nullptr, 220, 395, 160, 45,
     &screen_menu_style, {}, 0},
    {"Help", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "?", nullptr, 390, 395, 45, 45, &screen_menu_style, {}, 0},
    {"Clear", SCA_BUTTON, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", "Clear", nullptr, 540, 395, 90, 45, &screen_menu_style,
     {}, 0},
};

const _ScreenWindowRow windows[] = {
    {"MainWin", 0, 30, 640, 450, "MWIN_TEXBUT_DEFAULT", {normal_rows, phone_rows, phone_rows, pad_rows, pad_rows},
     LogCollectionController::NUM_CONTROLS},
};
static_assert(sizeof(normal_rows) / sizeof(normal_rows[0]) == LogCollectionController::NUM_CONTROLS, "rows");
static_assert(sizeof(phone_rows) / sizeof(phone_rows[0]) == LogCollectionController::NUM_CONTROLS, "rows");
static_assert(sizeof(pad_rows) / sizeof(pad_rows[0]) == LogCollectionController::NUM_CONTROLS, "rows");

// Each entry takes two thirds of the layout's row height.
const int ROWS_FROM_LAYOUT_SMALL = -2;

const char NO_ENTRIES[] = "No log entries.";
const char NOTHING_TO_COPY[] = "There are no log entries to copy.";
const char NONE_SELECTED[] = "You have not selected any lines.";
const char HELP_TEXT[] = "Use the copy buttons to copy the log entries to the system clipboard.\n\nYou can then use "
                         "an external app's \"Paste\" command to paste the entries into an e-mail or forum posting.";
const char COPIED[] = "Copy successful.\n\nYou can now use an external app's \"Paste\" command to paste the log "
                      "entries into an e-mail or forum posting.";
const char NO_MEMORY[] = "Not enough memory to perform copy.\n\nTry selecting fewer lines.";
const char CLIPBOARD_FAILED[] = "A problem occurred copying the log to the clipboard.";

} // namespace

LogCollectionController::LogCollectionController(MWinScreens *screens)
    : ScreenController(screens, "LogCollectionController", "Log", windows, 1)
{
}

void LogCollectionController::AdjustWindowInfo(int, int layout, _MWinWindowCreateInfo *info)
{
    info->m_has_title_bar = 1;
    info->m_has_hide_button = 1;
    EngSafeStrcpy(info->m_title, "Log Entries", sizeof(info->m_title));
    // The mobile layouts keep their English texts.
    const bool normal = layout == MWIN_LAYOUT_NORMAL;
    EngSafeStrcpy(info->m_title_token, normal ? "Logs_Title" : "", sizeof(info->m_title_token));
    EngSafeStrcpy(info->m_font, "Main", sizeof(info->m_font));
    EngSafeStrcpy(info->m_hide_text, "Back", sizeof(info->m_hide_text));
    EngSafeStrcpy(info->m_hide_token, normal ? "Common_ButtonGoBack" : "", sizeof(info->m_hide_token));
    EngSafeStrcpy(info->m_hide_texbut, "MWIN_TEXBUT_DEFAULT", sizeof(info->m_hide_texbut));
    PlaceUnderTitleBar(layout, info);
}

char LogCollectionController::CreateCollection(MWin *mwin)
{
    const char made = ScreenController::CreateCollection(mwin);
    if (MWinWindow *win = GetWindow(0)) {
        win->SetTitleTextColour(1, 1, 1, 0.7f);
        win->SetTitleTextScale(1, 1.1f);
        win->SetTitleTextAlign(MWTA_CENTER);
    }
    return made;
}

const char *LogListTextCB(int row, MWinButton *, void *log_cc)
{
    if (!DebugCheckFatal(log_cc != nullptr, "LogListTextCB", "No user data"))
        return "";
    const LogCC *screen = static_cast<const LogCC *>(log_cc);
    if (screen->GetNumLines() == 0)
        return row == 0 ? NO_ENTRIES : "";
    return screen->GetLine(row);
}

void LogCC::StartingCB(void *)
{
    LoadLogs();
    const int rows = GetNumLines() > 0 ? GetNumLines() : 1;
    MWinButton *list = Control(LOG);
    if (!list)
        return;
    list->PanelAllowNoSelection(1);
    list->PanelSetMultiSelect(1, 1);
    list->PanelSetStringsCallback(rows, ROWS_FROM_LAYOUT_SMALL, LogListTextCB, this);
    list->PanelSetScrollPos(static_cast<float>(rows - 1));
}

char LogCC::ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info)
{
    if (IsPressEmpty(button, info))
        return 0;
    MWinButton *list = Control(LOG);
    MWinWindow *win = GetWindow(0);
    if (button == list)
        return 1;
    if (button == Control(COPY_SEL)) {
        if (GetNumLines() == 0)
            m_mwin->PopupMessageNoTitle(NOTHING_TO_COPY);
        else if (!list || list->PanelGetNumMultiPos() == 0)
            m_mwin->PopupMessageNoTitle(NONE_SELECTED);
        else
            DoCopy(1);
    } else if (button == Control(COPY_ALL)) {
        if (GetNumLines() == 0)
            m_mwin->PopupMessageNoTitle(NOTHING_TO_COPY);
        else
            DoCopy(0);
    } else if (button == Control(HELP)) {
        m_mwin->PopupMessageNoTitle(HELP_TEXT);
    } else if (button == Control(CLEAR)) {
        ClearLogs();
    } else if (win && button == win->GetHideButton()) {
        FreeLogs();
        m_screens->GoBack();
    } else {
        return 0;
    }
    return 1;
}

void LogCC::DoCopy(char selected_only)
{
    std::vector<int> rows;
    MWinButton *list = Control(LOG);
    if (selected_only && list) {
        const int selected = list->PanelGetNumMultiPos();
        for (int n = 0; n < selected; n++)
            rows.push_back(list->PanelGetNthMultiPos(n));
    }
    switch (m_lines.DoCopy(selected_only, rows.data(), static_cast<int>(rows.size()), MainGetProgramName(),
                           MainGetProgramVersion())) {
    case LVCR_COPIED:
        m_mwin->PopupMessageNoTitle(COPIED);
        break;
    case LVCR_NO_MEMORY:
        m_mwin->PopupErrorMessage(NO_MEMORY);
        break;
    case LVCR_CLIPBOARD_FAILED:
        m_mwin->PopupErrorMessage(CLIPBOARD_FAILED);
        break;
    case LVCR_NOTHING_TO_COPY:
        break;
    }
}

void LogCC::ClearLogs()
{
    if (MWinButton *list = Control(LOG))
        list->PanelRemoveAllEntries();
    m_lines.ClearLogs();
    StartingCB(nullptr);
}

MWinCollectionController *LogCC_Make(HW_Screens *screens)
{
    return new (std::nothrow) LogCC(screens);
}
