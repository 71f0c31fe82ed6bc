// The log viewer's lines and copy; see LogViewer.h.
#include "modules/LogViewer.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngPrefs.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Shown before the newest lines of a longer log.
const char *const TRUNCATED_LINE = "(Entries Truncated)";

} // namespace

void LogViewerLines::LoadLogs()
{
    FreeLogs();
    char *buffer = static_cast<char *>(EngMalloc(LOG_VIEWER_MAX_LINE + 1, "LogCC::LoadLogs", 0));
    // The first pass counts, so that the second keeps only the newest lines.
    int count = ReadPass(buffer, false, 0);
    ReadPass(buffer, true, count > LOG_VIEWER_MAX_LINES ? count - LOG_VIEWER_MAX_LINES : 0);
    EngFree(buffer, 0, "LogCC::LoadLogs");
}

// One pass over the log: counts its non-empty lines and, when adding, adds
// those from number skip on. The count.
int LogViewerLines::ReadPass(char *buffer, bool adding, int skip)
{
    const char *name = DebugGetLogFilename();
    if (!EngFileExists(name, 0))
        return 0;
    int count = 0;
    EngFile file;
    if (buffer && file.OpenForReadingQuietly(name, 1)) {
        while (file.ReadLine(buffer, LOG_VIEWER_MAX_LINE + 1)) {
            EngMiscRemoveAnyNewLinesFromEndOfString(buffer);
            if (!buffer[0])
                continue;
            if (adding && count >= skip) {
                if (count == skip && skip > 0)
                    Add(TRUNCATED_LINE);
                for (char *c = buffer; *c; c++)
                    if (*c == '|')
                        *c = '>';
                Add(buffer);
            }
            count++;
        }
        return count;
    }
    if (!adding)
        DebugError("LogCC::LoadLogs", "Could not load logfile.");
    int messages = DebugGetNumMessages();
    for (int i = 0; i < messages; i++) {
        const char *text = DebugGetMessageText(i);
        if (!text || !text[0])
            continue;
        if (adding && count >= skip)
            Add(text);
        count++;
    }
    return count;
}

void LogViewerLines::Add(const char *text)
{
    m_lines.AddEntry(text, static_cast<int>(std::strlen(text) + 1));
}

void LogViewerLines::FreeLogs()
{
    m_lines.RemoveAllEntries();
}

void LogViewerLines::ClearLogs()
{
    FreeLogs();
    DebugClearLogs();
    DebugInfo("Cleared logs.");
    LoadLogs();
}

int LogViewerLines::GetNumLines() const
{
    return m_lines.GetNumEntries();
}

const char *LogViewerLines::GetLine(int line) const
{
    // The list would report a row past the end; the viewer asks for one
    // whenever the log is empty.
    if (line < 0 || line >= GetNumLines())
        return "";
    const char *text = static_cast<const char *>(m_lines.GetEntryData(line, nullptr));
    return text ? text : "";
}

int LogViewerFormatHeader(char *buffer, int size, char selected_only, const char *program_name,
                          float program_version)
{
    if (!buffer || size <= 0)
        return 0;
    _EngMiscDate date;
    _EngMiscDateAndTime time;
    EngMiscGetCurrentDate(&date);
    EngMiscGetCurrentTime(&time);
    const char *format = selected_only ? "Selected log entries for %s version %.2f [%s, %d/%02d/%04d %d:%02d]\n\n"
                                       : "Log entries for %s version %.2f [%s, %d/%02d/%04d %d:%02d]\n\n";
    int wanted = std::snprintf(buffer, static_cast<size_t>(size), format, EngStrOrNone(program_name),
                               static_cast<double>(program_version), EngMiscGetPlatformName(), date.day, date.month,
                               date.year, time.hour, time.minute);
    if (wanted < 0) {
        buffer[0] = 0;
        return 0;
    }
    return wanted < size ? wanted : size - 1;
}

_LogViewerCopyResult LogViewerLines::DoCopy(char selected_only, const int *rows, int num_rows,
                                            const char *program_name, float program_version)
{
    std::vector<const char *> lines;
    if (selected_only) {
        for (int i = 0; rows && i < num_rows; i++)
            lines.push_back(GetLine(rows[i]));
    } else {
        for (int i = 0; i < GetNumLines(); i++)
            lines.push_back(GetLine(i));
    }
    size_t size = LOG_VIEWER_HEADER_SIZE;
    bool any_text = false;
    for (const char *line : lines) {
        size += std::strlen(line) + 2;
        any_text = any_text || line[0];
    }
    if (!any_text) {
        DebugErrorCode("LogCC::DoCopy", 'IERR');
        return LVCR_NOTHING_TO_COPY;
    }
    char *text = size <= 0xFFFFFFFFu ? static_cast<char *>(EngMalloc(static_cast<unsigned>(size), "LogCC::DoCopy", 0))
                                     : nullptr;
    if (!text)
        return LVCR_NO_MEMORY;
    size_t used = static_cast<size_t>(
        LogViewerFormatHeader(text, LOG_VIEWER_HEADER_SIZE, selected_only, program_name, program_version));
    for (const char *line : lines) {
        size_t length = std::strlen(line);
        std::memcpy(text + used, line, length);
        used += length;
        text[used++] = '\n';
    }
    text[used] = 0;
    char copied = VariousCopyClipboardFromString(text);
    EngFree(text, 0, "LogCC::DoCopy");
    return copied ? LVCR_COPIED : LVCR_CLIPBOARD_FAILED;
}
