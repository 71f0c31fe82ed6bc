// Plain files: the file object EngFile over a buffered stream, and free
// functions that test, size, read whole, delete, move and create files and
// folders. Every operation reports its own failure and returns false (or 0).
//
// Names are the program's 1252 text and may use '\' as the separator; the
// file layer turns them into the system's form at every entry point.
// A report flag, when set, makes the operation report that failure; failures
// no flag covers are always reported.
//
// Text mode: a read drops the CR of a CR LF pair (files written on the
// desktop); writes put out '\n' unchanged.
//
// Threads: each thread has its own object behind EngFileExists and its own
// EngFile::Printf buffer, so the error reporter may write its log from any
// thread. One EngFile object is used by one thread at a time.
#pragma once

#include "engine/core/EngDebug.h"

#include <cstdio>

enum {
    // EngFile::Printf puts out at most this many characters.
    ENG_FILE_PRINTF_MAX = 2058,
};

class EngFile {
public:
    EngFile();
    ~EngFile();
    EngFile(const EngFile &) = delete;
    EngFile &operator=(const EngFile &) = delete;

    char OpenForReading(const char *name, char text, char report);
    char OpenForReadingQuietly(const char *name, char text);
    // Created or truncated.
    char CreateForWriting(const char *name, char text);
    // Created or truncated; its open failure writes no log entry (the
    // error log's own file is opened with it).
    char OpenForWriting(const char *name, char text);
    // Created, or written at its end.
    char OpenForAppending(const char *name, char text);

    // True when exactly count bytes were read.
    char Read(void *buffer, unsigned count, char report);
    // One line of at most size - 1 characters, its line feed kept; false
    // without a report at the end of the file.
    char ReadLine(char *buffer, unsigned size);
    char Write(const void *data, unsigned count);
    // Output longer than ENG_FILE_PRINTF_MAX characters is cut there; an
    // empty result succeeds without writing.
    char Printf(const char *format, ...) DEBUG_FORMAT(2, 3);

    // Hands what was written so far to the system.
    char Flush();
    char Rewind();
    char MoveToEnd();
    // The size in bytes, 0 on failure; the position is left where it was.
    unsigned GetSize();
    void Close();

private:
    char DoOpenForWriting(const char *where, const char *name, char text, const char *mode);
    char CheckStream(const char *where);
    unsigned ReadText(unsigned char *buffer, unsigned count);

    bool m_open;
    bool m_reading;
    bool m_text;
    FILE *m_stream;
};

// True when name is a file that can be opened for reading (not a folder).
char EngFileExists(const char *name, char report);
char EngFileDirectoryExists(const char *name);
// One level; an existing folder fails.
char EngFileCreateDirectory(const char *name, char report);
char EngFileDelete(const char *name, char report);
// Refuses an existing target and a missing source, then checks the outcome.
char EngFileMoveFile(const char *source, const char *target);
unsigned EngFileGetFileSize(const char *name, char text);
// A file name as a person reads it in a message: folders separated by "/",
// as the system names them. A bounded copy into out.
void EngFileGetShownName(const char *name, char *out, int size);
// True when the file holds exactly count bytes and they were read.
char EngFileOpenReadAndClose(const char *name, char text, void *buffer, unsigned count);
// Logs text with the system's message for code (the thread's last error
// unless have_code); quiet writes no log entry.
void EngFileOutputLastError(const char *where, const char *text, char have_code, unsigned code, char quiet);
