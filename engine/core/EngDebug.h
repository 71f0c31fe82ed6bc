// The error reporter and the log: the program's one failure path.
//
// An operation that fails reports the reason itself and returns its failure
// value; its caller does not report again. Every report becomes one entry of
// an in-memory store of 200 entries and one line of the log file.
//
// Caller names ("where"): callers pass their readable name, such as
// "EngFile::Read" or "EngMalloc". A name in the compiler's decorated form
// ("?Read@EngFile@@QAEDPAXID@Z") is shortened to "Read@EngFile"; any other
// name passes unchanged. Front ends documented as taking a plain name never
// shorten it.
//
// Threads: one recursive lock guards the store, its buffers, the flags and the
// file append, so worker threads may report too. The lock is re-entered by the
// file writer and by the popup path on the same thread.
#pragma once

#include <cstdarg>

enum _DebugMsgCode : int {
    DMC_WARNING = 0,
    DMC_ERROR = 1,
    DMC_EXIT = 2,
    DMC_POPUP = 3,
    DMC_INFO = 4,
    DMC_NOTE = 5,
    DMC_RAW = 6,
};

typedef int _DebugNoteType;

enum {
    DEBUG_MAX_ENTRIES = 200,
    DEBUG_ENTRY_TEXT_SIZE = 544,
    DEBUG_MESSAGE_SIZE = 512,
    DEBUG_LOG_FILENAME_SIZE = 256,
};

struct _DebugLogEntry {
    char text[DEBUG_ENTRY_TEXT_SIZE];
    _DebugMsgCode kind;
    _DebugNoteType value;
    double time;
};

#define DEBUG_FORMAT(f, a) __attribute__((format(printf, f, a)))

// Report front ends.
void DebugError(const char *where, const char *format, ...) DEBUG_FORMAT(2, 3);
void DebugErrorCode(const char *where, int code);
char DebugCheck(char condition, const char *plain_where, const char *format, ...) DEBUG_FORMAT(3, 4);
char DebugCheckFatal(char condition, const char *where, const char *format, ...) DEBUG_FORMAT(3, 4);
char DebugCheckFatalPlainName(char condition, const char *plain_where, const char *format, ...) DEBUG_FORMAT(3, 4);
void DebugFatal(const char *plain_where, const char *format, ...) DEBUG_FORMAT(2, 3);
void DebugInfo(const char *format, ...) DEBUG_FORMAT(1, 2);
void DebugInfoWithName(const char *where, const char *format, ...) DEBUG_FORMAT(2, 3);
void DebugInfoWithObjectAndName(const char *object, const char *where, const char *format, ...) DEBUG_FORMAT(3, 4);
char DebugInfoThrottled(double *next_time, double period, const char *format, ...) DEBUG_FORMAT(3, 4);
void DebugNote(int value, const char *format, ...) DEBUG_FORMAT(2, 3);
void DebugNoteWithName(int value, const char *where, const char *format, ...) DEBUG_FORMAT(3, 4);
void DebugRaw(const char *format, ...) DEBUG_FORMAT(1, 2);
void DebugReplaceMessage(int num, const char *format, ...) DEBUG_FORMAT(2, 3);
// These two store nothing and write no file line; the debug output they feed
// prints nothing on the desktop.
void DebugErrorNoLog(const char *where, const char *format, ...) DEBUG_FORMAT(2, 3);
void DebugInfoQuickAlt(const char *where, const char *format, ...) DEBUG_FORMAT(2, 3);

// Store and file accessors.
int DebugGetNumMessages();
// The text of entry num, or null when num is out of range. The pointer stays
// valid until the store changes.
const char *DebugGetMessageText(int num);
const char *DebugGetLogFilename();
char DebugSetLogFilename(const char *name, char delete_old);
void DebugClearLogs();
const char *DebugGetCodeText(int code);

// Returns either a new heap block (free it with free()) or name itself.
const char *DebugUndecorateName(const char *name);

// The common door of the storing front ends, and the store itself.
void DebugDoStringTruncated(const char *text, _DebugMsgCode kind, _DebugNoteType value);
void DebugDoString(const char *text, _DebugMsgCode kind, _DebugNoteType value);
void DebugAppendLastMessageToFile(const char *time_prefix);

// Returns the reporter to its state at process start (store empty, flags
// cleared, "ErrorLog.txt"); for tests, which run many cases in one process.
void DebugResetForTests();
