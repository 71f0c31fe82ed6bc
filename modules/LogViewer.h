// The log viewer's lines: the program's log file read into a list of lines
// the viewer shows (the newest 20000 at most, empty lines left out, "|"
// shown as ">"), and the copy of chosen lines or of all of them, under a
// header naming the program, its version, the platform and the local date
// and time, to the system clipboard. The viewer's screen (its list, buttons
// and messages) holds one of these and shows what it reports.
//
// A missing log file gives no lines. A log file that exists but cannot be
// read is reported ("Could not load logfile.") and the in-memory log is
// shown instead. A copy reports nothing to copy, no memory for it or a
// clipboard failure through its result and changes nothing. Main thread
// only.
#pragma once

#include "engine/core/EngIndexedList.h"

enum {
    // A longer line of the file continues as the next line.
    LOG_VIEWER_MAX_LINE = 512,
    LOG_VIEWER_MAX_LINES = 20000,
    // The copy's header is cut to fit this many bytes, its end included.
    LOG_VIEWER_HEADER_SIZE = 128,
};

enum _LogViewerCopyResult : int {
    LVCR_COPIED = 0,
    // No line, or only empty ones, to copy (reported as an internal error).
    LVCR_NOTHING_TO_COPY = 1,
    LVCR_NO_MEMORY = 2,
    LVCR_CLIPBOARD_FAILED = 3,
};

class LogViewerLines {
public:
    LogViewerLines() = default;
    LogViewerLines(const LogViewerLines &) = delete;
    LogViewerLines &operator=(const LogViewerLines &) = delete;

    // Replaces the lines with those of the log now.
    void LoadLogs();
    void FreeLogs();
    // Empties the log itself, notes that it did, and loads what it then holds.
    void ClearLogs();
    int GetNumLines() const;
    // The line, or "" when there is none.
    const char *GetLine(int line) const;

    // Copies the lines numbered in rows (selected_only, in the order given)
    // or all lines to the clipboard, after the header with program_name and
    // program_version.
    _LogViewerCopyResult DoCopy(char selected_only, const int *rows, int num_rows, const char *program_name,
                                float program_version);

private:
    int ReadPass(char *buffer, bool adding, int skip);
    void Add(const char *text);

    EngIndexedList m_lines;
};

// The copy's header into buffer (at most size - 1 characters, terminated);
// the characters written.
int LogViewerFormatHeader(char *buffer, int size, char selected_only, const char *program_name,
                          float program_version);
