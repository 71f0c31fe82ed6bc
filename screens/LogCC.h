// The log viewer ('LOGS'): the lines of the program's log file in a
// scrolling list in which each click selects or unselects a line, with
// buttons that copy the selected lines or all of them, under a header, to
// the system clipboard for pasting into an e-mail or a forum posting, and a
// button that clears the log. The lines are loaded at every start and let
// go when the player goes back.
//
// Every refusal and failure is answered by a message on screen: nothing to
// copy, nothing selected, no memory for the copy, a clipboard that would not
// take it; none changes the list or the log. Main thread only.
#pragma once

#include "modules/LogViewer.h"
#include "screens/ScreenController.h"

class HW_Screens;

class LogCollectionController : public ScreenController {
public:
    enum Row { COPY_SEL, LOG, COPY_ALL, HELP, CLEAR, NUM_CONTROLS };
    explicit LogCollectionController(MWinScreens *screens);
    MWinButton *Control(Row row) const { return GetControl(0, row); }
    char CreateCollection(MWin *mwin) override;

protected:
    void AdjustWindowInfo(int window, int layout, _MWinWindowCreateInfo *info) override;
};

class LogCC : public LogCollectionController {
public:
    explicit LogCC(MWinScreens *screens) : LogCollectionController(screens) {}
    ~LogCC() override { FreeLogs(); }

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    void LoadLogs() { m_lines.LoadLogs(); }
    void FreeLogs() { m_lines.FreeLogs(); }
    void ClearLogs();
    // Copies the list's selected lines (selected_only) or all lines.
    void DoCopy(char selected_only);
    int GetNumLines() const { return m_lines.GetNumLines(); }
    const char *GetLine(int line) const { return m_lines.GetLine(line); }

private:
    LogViewerLines m_lines;
};

// The list's text for a row: its line, or "No log entries." in row 0 of an
// empty log.
const char *LogListTextCB(int row, MWinButton *list, void *log_cc);

MWinCollectionController *LogCC_Make(HW_Screens *screens);
