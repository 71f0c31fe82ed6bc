// The Scores screen ('STAT', collection "Scores", window "Main"): the high
// scores of one garden, either the local table kept on this machine or the
// world list from the score server, limited to this year, month, week or
// day. The player picks the garden, the view and the range, can download
// the world list again, submit the best local score, jump to their own
// entry of the world list and delete their local scores of the garden. The
// entry of the game finished last is highlighted in the local view.
//
// The shown garden is the scores module's current garden: the module asks
// it through ScoresScreenGetGarden and refreshes the table through
// ScoresScreenRefreshList. The table is a tab panel whose cell texts are
// asked from the controller; the flags and platform icons are drawn over it
// after the toolkit has drawn.
//
// Failures: a missing control is skipped wherever it is used (without the
// table nothing is listed, without Update the tick does nothing). A list
// with one entry that is not a sane score is shown; with two or more the
// table stays empty ("%d bad scores."), each bad entry logged with its
// reason. A failed download shows "Failed" on Update for 3 seconds.
#pragma once

#include "modules/ScoresScore.h"
#include "screens/ScreenController.h"

class HW_Screens;
struct _UserOptions;

// Roles of the table's columns, in the order of the controller's column
// numbers.
enum _ScoresColumn {
    SCC_POS,
    SCC_DATE,
    SCC_NAME,
    SCC_COUNTRY,
    SCC_DEVICE,
    SCC_LEVEL,
    SCC_SCORE,
    SCC_COUNT,
};

// The controls of the window "Main", in the builder's order.
enum _ScoresControl {
    SCB_TITLE,
    SCB_HEADING,
    SCB_LEVEL0,
    SCB_LEVEL1,
    SCB_LEVEL2,
    SCB_LEVEL3,
    SCB_WHICH,
    SCB_RANGE,
    SCB_SCORES,
    SCB_UPDATE,
    SCB_SUBMIT,
    SCB_FINDME,
    SCB_RESET,
    SCB_BACK,
    SCB_DBG_DELETE,
    SCB_INFO,
    SCB_COUNT,
};

enum {
    SCORES_SCREEN_MAX_ROWS = 100,
    SCORES_SCREEN_PAGE_ROWS = 15,
    SCORES_SCREEN_NAME_WIDTH = 22,
    SCORES_SCREEN_TEXT_SIZE = 64,
};

class ScoresCollectionController : public ScreenController {
public:
    explicit ScoresCollectionController(MWinScreens *screens);
    MWinButton *Control(_ScoresControl control) const { return GetControl(0, control); }
};

class ScoresCC : public ScoresCollectionController {
public:
    explicit ScoresCC(MWinScreens *screens);

    void StartingCB(void *data) override;
    void TickCB() override;
    void RenderCB(int pass) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    void SetupList(int select_row);
    void RefreshList();
    void SetInfoText(const char *text);
    void AfterSubmitLastScorePopup(char yes);
    void ForceWorldScoresUpdate(char do_it);
    void RangeCB(MWin *mwin, _MWinButtonCallbackInfo *info);

    // The garden the screen shows (0 to 3), which the scores module uses.
    short GetShownGarden() const { return m_shown_garden; }
    void SetShownGarden(short garden) { m_shown_garden = garden; }
    // Lets the next ticks highlight the score added last, as after a game.
    void ShowLastGame();

    // The cell text of a table row (-1 the header) and column.
    const char *GetCellText(int row, int column);
    int GetNumRows() const { return m_rows; }
    int GetFirstRow() const { return m_first_row; }
    int GetPlayersRow() const { return m_players_row; }
    int GetPlayersLocalIndex() const { return m_players_local_index; }
    int GetColumnCount() const { return m_column_count; }
    int GetColumnOf(_ScoresColumn role) const { return m_columns[role]; }
    char IsRefreshPending() const { return m_refresh_pending; }
    static char IsScreenCurrent();

private:
    _UserOptions *Options();
    char IsOnline();
    // The list is set and the table's rows become 0.
    void ClearTable();
    void FindMe();
    void ChangeView();
    void SelectGarden(int garden);
    void SubmitBest();
    void Update();
    void Back();
    void MarkRefresh();
    char IsInternetAllowed(char ask);
    void DrawFlagsAndIcons();

    short m_shown_garden;
    int m_first_row;
    int m_count;
    _ScoresScore *m_list;
    int m_page_rows;
    int m_players_row;
    int m_players_local_index;
    int m_highlight_row;
    int m_columns[SCC_COUNT];
    int m_column_count;
    int m_name_width;
    char m_refresh_pending;
    double m_refresh_time;
    double m_failed_time;
    double m_last_score_timer;
    double m_next_tick;
    int m_row_order[SCORES_SCREEN_MAX_ROWS];
    int m_rows;
    char m_text[SCORES_SCREEN_TEXT_SIZE];
};

// False, with the reason logged under its index, unless the entry has a
// year from 1900, a month 1 to 12, a day 1 to 31 and a name.
char ScoresCC_IsScoreEntryValid(int index, const _ScoresScore *score);

// The text of one cell of entry (at list index) in the column of role,
// formatted into out (at most size bytes, cut to fit). Dates carry the year
// in the local view only; day_first puts the day before the month. A name
// longer than name_width ends in "..." at name_width characters; at most
// name_width - 1 characters are shown otherwise. Country and Device cells
// are empty: they are drawn as pictures.
const char *ScoresCC_FormatCell(char *out, int size, _ScoresColumn role, int index, const _ScoresScore &entry,
                                char online, char day_first, int name_width);

// The table's new top row when FindMe jumps to row of rows, with the page
// of page_rows starting at first: the row comes to the middle when it lies
// outside the page.
int ScoresCC_FindMeFirstRow(int first, int row, int page_rows, int rows);

// The maker the screen set uses for the Scores screen.
MWinCollectionController *ScoresCC_Make(HW_Screens *screens);
// The game's Scores screen; null when there is none (reported under where
// unless it is null).
ScoresCC *ScoresCC_Get(const char *where);
// The question after a game, in an OK/Cancel popup without title whose
// answer goes to AfterSubmitLastScorePopup.
void ScoresCC_AskSubmit(const char *text);
