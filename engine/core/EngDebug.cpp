#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "engine/core/EngMisc.h"
#include "platform/win32/Win32Debug.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// Texts over this length are cut to their first DEBUG_KEEP_WHEN_CUT
// characters followed by the marker.
const int DEBUG_TRUNCATE_ABOVE = 482;
const int DEBUG_KEEP_WHEN_CUT = 462;
const char DEBUG_TRUNCATED_MARK[] = " ... (TRUNCATED)";
// Working buffer and composed line hold at most this many characters.
const int DEBUG_LINE_MAX = 541;
const int DEBUG_PREFIX_MAX = 34;
const char DEBUG_DEFAULT_LOG_FILENAME[] = "ErrorLog.txt";
const char DEBUG_LOGS_REMOVED[] = "--- LOGS REMOVED ---";
const char DEBUG_FATAL_TITLE[] = "INTERNAL PROGRAM ERROR";

const char *const debug_labels[] = {"<WARNING>", " <ERROR> ", " <EXIT>  ", " <POPUP> ", " : ", " * "};

struct CodeText {
    int code;
    const char *text;
};

const CodeText debug_code_texts[] = {
    {'ALEX', "Already exists."},   {'ALSU', "Already setup."},        {'BAPA', "Bad parameters."},
    {'CACN', "Cannot call now."},  {'DNEX', "Does not exist."},       {'EXOC', "An exception occurred."},
    {'FILL', "Function not present."}, {'IER2', "Internal error 2."}, {'IERR', "Internal error."},
    {'LODF', "Load failed."},      {'NAVL', "Not available."},        {'NGAM', "No game."},
    {'NOIM', "Not implemented."},  {'NOSU', "Not setup."},            {'NVAL', "Not valid."},
    {'OMEM', "Out of memory."},    {'OPFA', "Operation failed."},     {'UNKN', "(Unknown)"},
    {'UPDT', "Needs updating."},
};

std::recursive_mutex debug_mutex;

_DebugLogEntry debug_log[DEBUG_MAX_ENTRIES];
int debug_num_messages = 0;
char debug_log_filename[DEBUG_LOG_FILENAME_SIZE] = "ErrorLog.txt";
char debug_work_text[DEBUG_LINE_MAX + 1];

// The log file, kept open from one line to the next (each line flushed,
// so a crash loses none) so that a busy moment costs no open and close per
// line. It is closed when the log starts afresh or moves to another file,
// and after a failed write, so that the next line opens it again.
EngFile debug_file;
bool debug_file_open = false;

void CloseLogFile()
{
    debug_file.Close();
    debug_file_open = false;
}

bool debug_exiting = false;
bool debug_appending = false;
bool debug_recreate_file = true;
bool debug_time_prefix = true;
bool debug_fatal_check_done = false;
bool debug_fatal_check_plain_done = false;

// What a report asks of the program once the store is done with it. Ending
// the program or showing a popup happens outside the reporter's lock, so a
// worker thread that ends itself never leaves the lock held.
struct DebugAfterStore {
    bool exit = false;
    bool popup = false;
    char text[DEBUG_LINE_MAX + 1] = "";
};

void DebugFormat(char *buffer, int size, const char *format, va_list args)
{
    if (!format) {
        buffer[0] = 0;
        return;
    }
    vsnprintf(buffer, size, format, args);
}

void DebugStoreLocked(const char *text, _DebugMsgCode kind, _DebugNoteType value, DebugAfterStore *after);

// Stores one entry and then carries out what it asks (exit or popup).
void DebugStore(const char *text, _DebugMsgCode kind, _DebugNoteType value)
{
    DebugAfterStore after;
    {
        std::lock_guard<std::recursive_mutex> lock(debug_mutex);
        DebugStoreLocked(text, kind, value, &after);
    }
    if (after.exit) {
        EngMainForceExit(DEBUG_FATAL_TITLE, after.text);
        EngMainCallExit(-1);
    }
    if (after.popup) {
        if (eng_main_window)
            eng_main_window->ShowMouseCursor();
        EngMiscShowPopupMessage(EMPT_WARNING, "Warning", text);
    }
}

void DebugStoreLocked(const char *text, _DebugMsgCode kind, _DebugNoteType value, DebugAfterStore *after)
{
    if (debug_exiting || debug_appending || !text)
        return;

    char cut[DEBUG_TRUNCATE_ABOVE + 1];
    if (std::strlen(text) > static_cast<size_t>(DEBUG_TRUNCATE_ABOVE)) {
        std::memcpy(cut, text, DEBUG_KEEP_WHEN_CUT);
        std::memcpy(cut + DEBUG_KEEP_WHEN_CUT, DEBUG_TRUNCATED_MARK, sizeof(DEBUG_TRUNCATED_MARK));
        text = cut;
    }
    if (kind < DMC_WARNING || kind > DMC_RAW)
        return;

    EngSafeStrcpy(debug_work_text, text, sizeof(debug_work_text));

    _DebugLogEntry *entry = &debug_log[debug_num_messages];
    entry->kind = kind;
    entry->value = value;
    entry->time = eng_main_program_time;

    char prefix[DEBUG_PREFIX_MAX + 1] = "";
    if (debug_time_prefix)
        snprintf(prefix, sizeof(prefix), "%.1f | ", static_cast<double>(static_cast<float>(entry->time)));

    if (!debug_work_text[0])
        return;
    if (kind == DMC_RAW)
        EngSafeStrcpy(entry->text, debug_work_text, DEBUG_LINE_MAX + 1);
    else
        snprintf(entry->text, DEBUG_LINE_MAX + 1, "%s %s", debug_labels[kind], debug_work_text);
    debug_num_messages++;
    DebugAppendLastMessageToFile(prefix);

    if (debug_num_messages >= DEBUG_MAX_ENTRIES) {
        const int keep = DEBUG_MAX_ENTRIES / 2;
        std::memmove(debug_log, debug_log + keep, sizeof(_DebugLogEntry) * keep);
        debug_num_messages = keep;
        EngSafeStrcpy(debug_log[0].text, DEBUG_LOGS_REMOVED, sizeof(debug_log[0].text));
        debug_log[0].kind = DMC_RAW;
    }

    if (kind == DMC_EXIT) {
        debug_exiting = true;
        const char *exit_label = std::strstr(debug_work_text, "<EXIT> ");
        EngSafeStrcpy(after->text, exit_label ? exit_label + std::strlen("<EXIT> ") : debug_work_text,
                      sizeof(after->text));
        after->exit = true;
    } else if (kind == DMC_POPUP) {
        after->popup = true;
    }
}

void DebugFatalCheckSequence(const char *name, const char *format, va_list args)
{
    char message[DEBUG_MESSAGE_SIZE];
    DebugFormat(message, sizeof(message), format, args);
    char line[DEBUG_MESSAGE_SIZE];
    snprintf(line, sizeof(line), "( %s )    %s", name, message);

    DebugRaw(" ");
    DebugRaw("EXITING DUE TO FOLLOWING ERROR:");
    DebugRaw(" ");
    DebugStore(line, DMC_ERROR, 0);

    char reason[DEBUG_LINE_MAX + 1];
    snprintf(reason, sizeof(reason), "Reason:\n\n%s", line);
    EngMainForceExit(DEBUG_FATAL_TITLE, reason);
    EngMainCallExit(-1);
}

// Formats "( name )    message" with the name shortened when decorated.
void DebugStoreNamed(const char *line_format, const char *where, bool shorten, _DebugMsgCode kind,
                     _DebugNoteType value, const char *format, va_list args)
{
    char message[DEBUG_MESSAGE_SIZE];
    DebugFormat(message, sizeof(message), format, args);
    const char *name = shorten ? DebugUndecorateName(where) : where;
    char line[DEBUG_MESSAGE_SIZE];
    snprintf(line, sizeof(line), line_format, EngStrOrNone(name), message);
    if (name != where)
        std::free(const_cast<char *>(name));
    DebugStore(line, kind, value);
}

} // namespace

const char *DebugUndecorateName(const char *name)
{
    if (!name || !name[0])
        return name;
    size_t length = std::strlen(name);
    char *copy = static_cast<char *>(std::malloc(length + 1));
    if (!copy)
        return name;
    size_t out = 0;
    for (size_t i = 0; i < length; i++) {
        if (i == 0 && name[0] == '?')
            continue;
        if (i + 1 < length && name[i] == '@' && name[i + 1] == '@') {
            copy[out] = 0;
            return copy;
        }
        copy[out++] = name[i];
    }
    std::free(copy);
    return name;
}

void DebugDoStringTruncated(const char *text, _DebugMsgCode kind, _DebugNoteType value)
{
    DebugStore(text, kind, value);
}

void DebugDoString(const char *text, _DebugMsgCode kind, _DebugNoteType value)
{
    DebugStore(text, kind, value);
}

void DebugAppendLastMessageToFile(const char *time_prefix)
{
    std::lock_guard<std::recursive_mutex> lock(debug_mutex);
    // The file functions' own reports are ignored while this flag is set, so
    // none of them can come back here.
    debug_appending = true;
    if (debug_num_messages == 0) {
        debug_appending = false;
        return;
    }
    if (debug_recreate_file) {
        CloseLogFile();
        if (EngFileExists(debug_log_filename, 0))
            EngFileDelete(debug_log_filename, 0);
    }
    if (!debug_file_open) {
        debug_file_open = debug_recreate_file ? debug_file.OpenForWriting(debug_log_filename, 1)
                                              : debug_file.OpenForAppending(debug_log_filename, 1);
        if (!debug_file_open) {
            debug_appending = false;
            return;
        }
    }
    debug_recreate_file = false;
    const char *text = debug_log[debug_num_messages - 1].text;
    const bool written = debug_time_prefix ? debug_file.Printf("%s%s\n", time_prefix ? time_prefix : "", text)
                                           : debug_file.Printf("%s\n", text);
    if (!written || !debug_file.Flush())
        CloseLogFile();
    debug_appending = false;
}

void DebugError(const char *where, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    DebugStoreNamed("( %s )    %s", where, true, DMC_ERROR, 0, format, args);
    va_end(args);
}

void DebugErrorCode(const char *where, int code)
{
    DebugError(where, "%s", DebugGetCodeText(code));
}

char DebugCheck(char condition, const char *plain_where, const char *format, ...)
{
    if (condition)
        return condition;
    va_list args;
    va_start(args, format);
    DebugStoreNamed("( %s )    %s", plain_where, false, DMC_ERROR, 0, format, args);
    va_end(args);
    return condition;
}

char DebugCheckFatal(char condition, const char *where, const char *format, ...)
{
    {
        std::lock_guard<std::recursive_mutex> lock(debug_mutex);
        if (condition || debug_fatal_check_done)
            return condition;
        debug_fatal_check_done = true;
    }
    const char *name = DebugUndecorateName(where);
    char shortened[DEBUG_MESSAGE_SIZE];
    EngSafeStrcpy(shortened, EngStrOrNone(name), sizeof(shortened));
    if (name != where)
        std::free(const_cast<char *>(name));

    va_list args;
    va_start(args, format);
    DebugFatalCheckSequence(shortened, format, args);
    va_end(args);
    return condition;
}

char DebugCheckFatalPlainName(char condition, const char *plain_where, const char *format, ...)
{
    {
        std::lock_guard<std::recursive_mutex> lock(debug_mutex);
        if (condition || debug_fatal_check_plain_done)
            return condition;
        debug_fatal_check_plain_done = true;
    }
    va_list args;
    va_start(args, format);
    DebugFatalCheckSequence(EngStrOrNone(plain_where), format, args);
    va_end(args);
    return condition;
}

void DebugFatal(const char *plain_where, const char *format, ...)
{
    if (!eng_main_program || eng_main_program->GetExitFlag())
        return;
    char message[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormat(message, sizeof(message), format, args);
    va_end(args);
    if (!plain_where || !plain_where[0]) {
        DebugStore(message, DMC_EXIT, 0);
        return;
    }
    char line[DEBUG_MESSAGE_SIZE];
    snprintf(line, sizeof(line), "( %s )     %s", plain_where, message);
    DebugStore(line, DMC_EXIT, 0);
}

void DebugInfo(const char *format, ...)
{
    char message[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormat(message, sizeof(message), format, args);
    va_end(args);
    DebugStore(message, DMC_INFO, 0);
}

void DebugInfoWithName(const char *where, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    DebugStoreNamed("%s > %s", where, true, DMC_INFO, 0, format, args);
    va_end(args);
}

void DebugInfoWithObjectAndName(const char *object, const char *where, const char *format, ...)
{
    if (!object || !where)
        return;
    const char *name = DebugUndecorateName(where);
    char line[DEBUG_MESSAGE_SIZE];
    size_t head = std::strlen(object) + std::strlen(name) + 5;
    if (head < DEBUG_MESSAGE_SIZE - 1) {
        snprintf(line, sizeof(line), "%s: %s > ", object, name);
        va_list args;
        va_start(args, format);
        DebugFormat(line + head, static_cast<int>(sizeof(line) - head), format, args);
        va_end(args);
    }
    if (name != where)
        std::free(const_cast<char *>(name));
    if (head < DEBUG_MESSAGE_SIZE - 1)
        DebugStore(line, DMC_INFO, 0);
}

char DebugInfoThrottled(double *next_time, double period, const char *format, ...)
{
    // Several internet workers may share one timer: the check and the update
    // happen under the reporter's lock so only one of them logs.
    std::lock_guard<std::recursive_mutex> lock(debug_mutex);
    double now = eng_main_program_time;
    if (!next_time || *next_time > now)
        return 0;
    *next_time = now + period;
    char message[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormat(message, sizeof(message), format, args);
    va_end(args);
    DebugStore(message, DMC_INFO, 0);
    return 1;
}

void DebugNote(int value, const char *format, ...)
{
    char message[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormat(message, sizeof(message), format, args);
    va_end(args);
    DebugStore(message, DMC_NOTE, value);
}

void DebugNoteWithName(int value, const char *where, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    DebugStoreNamed("%s > %s", where, true, DMC_NOTE, value, format, args);
    va_end(args);
}

void DebugRaw(const char *format, ...)
{
    char message[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormat(message, sizeof(message), format, args);
    va_end(args);

    std::lock_guard<std::recursive_mutex> lock(debug_mutex);
    debug_time_prefix = false;
    DebugStore(message, DMC_RAW, 0);
    debug_time_prefix = true;
}

void DebugReplaceMessage(int num, const char *format, ...)
{
    if (num < 0 || num >= DEBUG_MAX_ENTRIES)
        return;
    char message[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormat(message, sizeof(message), format, args);
    va_end(args);

    {
        std::lock_guard<std::recursive_mutex> lock(debug_mutex);
        if (num < debug_num_messages) {
            debug_log[num].kind = DMC_RAW;
            EngSafeStrcpy(debug_log[num].text, message, sizeof(debug_log[num].text));
            return;
        }
    }
    DebugInfo(" ");
}

void DebugErrorNoLog(const char *where, const char *format, ...)
{
    {
        std::lock_guard<std::recursive_mutex> lock(debug_mutex);
        if (debug_appending)
            return;
    }
    char message[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormat(message, sizeof(message), format, args);
    va_end(args);
    char line[DEBUG_MESSAGE_SIZE + 8];
    snprintf(line, sizeof(line), "( %s )    %s\n", EngStrOrNone(where), message);
    OutputDebugStringA(line);
}

void DebugInfoQuickAlt(const char *where, const char *format, ...)
{
    // Formatted on the stack: this runs on worker threads for every trace
    // line, and a block per call would only invite a leak.
    char message[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    DebugFormat(message, sizeof(message), format, args);
    va_end(args);
    char line[DEBUG_MESSAGE_SIZE * 2];
    snprintf(line, sizeof(line), "%s > %s\n", EngStrOrNone(where), message);
    OutputDebugStringA(line);
}

int DebugGetNumMessages()
{
    std::lock_guard<std::recursive_mutex> lock(debug_mutex);
    return debug_num_messages;
}

const char *DebugGetMessageText(int num)
{
    std::lock_guard<std::recursive_mutex> lock(debug_mutex);
    if (num < 0 || num >= debug_num_messages)
        return nullptr;
    return debug_log[num].text;
}

const char *DebugGetLogFilename()
{
    return debug_log_filename;
}

char DebugSetLogFilename(const char *name, char delete_old)
{
    std::lock_guard<std::recursive_mutex> lock(debug_mutex);
    CloseLogFile();
    if (!name || !name[0]) {
        EngSafeStrcpy(debug_log_filename, DEBUG_DEFAULT_LOG_FILENAME, sizeof(debug_log_filename));
    } else if (std::strlen(name) >= DEBUG_LOG_FILENAME_SIZE) {
        EngSafeStrcpy(debug_log_filename, DEBUG_DEFAULT_LOG_FILENAME, sizeof(debug_log_filename));
        DebugError("DebugSetLogFilename", "Filename too long");
        return 0;
    } else {
        EngSafeStrcpy(debug_log_filename, name, sizeof(debug_log_filename));
    }
    if (debug_recreate_file && delete_old && EngFileExists(debug_log_filename, 0))
        EngFileDelete(debug_log_filename, 0);
    return 1;
}

void DebugClearLogs()
{
    std::lock_guard<std::recursive_mutex> lock(debug_mutex);
    debug_num_messages = 0;
    debug_recreate_file = true;
}

const char *DebugGetCodeText(int code)
{
    for (const CodeText &entry : debug_code_texts)
        if (entry.code == code)
            return entry.text;
    return "?";
}

void DebugResetForTests()
{
    std::lock_guard<std::recursive_mutex> lock(debug_mutex);
    CloseLogFile();
    debug_num_messages = 0;
    EngSafeStrcpy(debug_log_filename, DEBUG_DEFAULT_LOG_FILENAME, sizeof(debug_log_filename));
    debug_exiting = false;
    debug_appending = false;
    debug_recreate_file = true;
    debug_time_prefix = true;
    debug_fatal_check_done = false;
    debug_fatal_check_plain_done = false;
}
