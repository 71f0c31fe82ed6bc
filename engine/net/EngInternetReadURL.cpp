#include "engine/net/EngInternetReadURL.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/runtime/EngMain.h"
#include "platform/win32/Win32Error.h"

#include <cstdio>
#include <cstring>

namespace {

const unsigned int kPieceSize = 511;
const int kDefaultTimeoutSeconds = 10;
// "Error trying to initialise internet session".
const unsigned int kLongestReason = 43;
// The prefix keeps room for " - " and the longest reason.
const int kLongestPrefix = static_cast<int>(ENG_INTERNET_ERROR_TEXT_SIZE - 1 - 3 - kLongestReason);

// Seconds as the milliseconds of a time-out option, held within a DWORD.
DWORD TimeoutMs(int seconds)
{
    const DWORD most = 0xFFFFFFFFu / 1000;
    DWORD s = seconds > 0 ? static_cast<DWORD>(seconds) : 0;
    return (s < most ? s : most) * 1000;
}

// Appends reason to the caller's error text, which already holds the prefix;
// false for the caller to return. The log line comes from whoever failed.
bool FailWithReason(char *error_text, const char *reason)
{
    if (error_text) {
        size_t used = strnlen(error_text, ENG_INTERNET_ERROR_TEXT_SIZE - 1);
        snprintf(error_text + used, ENG_INTERNET_ERROR_TEXT_SIZE - used, "%s", reason);
    }
    return false;
}

// A failure found here rather than in a call below: also logged.
bool FailHere(char *error_text, const char *reason)
{
    DebugError("EngInternetConnectAndReadURL", "%s", reason);
    return FailWithReason(error_text, reason);
}

// A read that ran out of time is the read's time-out, whichever wait ended it.
void ReportReadFailure(const char *call, int timeout_seconds)
{
    if (timeout_seconds != 0 && GetLastError() == ERROR_INTERNET_TIMEOUT)
        DebugError("EngInternetReadOpenUrl", "Timeout after %d seconds", timeout_seconds);
    else
        EngInternetCheckError(call, 0);
}

} // namespace

bool EngInternetIsConnected()
{
    return true;
}

bool EngInternetReadURL(const char *url, char *buffer, unsigned int size, unsigned int *read, char *error_text,
                        const char *error_prefix, int timeout_seconds)
{
    return EngInternetConnectAndReadURL(url, buffer, size, read, error_text, error_prefix, timeout_seconds);
}

bool EngInternetConnectAndReadURL(const char *url, char *buffer, unsigned int size, unsigned int *read,
                                  char *error_text, const char *error_prefix, int timeout_seconds)
{
    if (error_text) {
        if (error_prefix)
            snprintf(error_text, ENG_INTERNET_ERROR_TEXT_SIZE, "%.*s - ", kLongestPrefix, error_prefix);
        else
            error_text[0] = 0;
    }
    if (read)
        *read = 0;
    if (!url || !url[0])
        return FailHere(error_text, "No URL specified");
    if (!buffer)
        return FailHere(error_text, "Internal Error");
    if (!EngInternetIsConnected())
        return FailHere(error_text, "No connection to the internet found");

    HINTERNET session = EngInternetInitSession("EngInternetConnectAndReadURL");
    if (!session)
        return FailWithReason(error_text, "Error trying to initialise internet session");
    if (timeout_seconds < 0)
        timeout_seconds = kDefaultTimeoutSeconds;
    DWORD ms = TimeoutMs(timeout_seconds);
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &ms, sizeof(ms));
    InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &ms, sizeof(ms));
    InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &ms, sizeof(ms));
    // Each wait alone would stay within the time-out, but the open waits for
    // connecting, sending and receiving in turn: the whole is bounded too.
    PlatformInternetSetTimeLimit(session, ms);

    HINTERNET connection = EngInternetOpenConnectionToUrl(session, url, 1, 0);
    if (!connection) {
        EngInternetCloseHandle(session);
        return FailWithReason(error_text, "Problem connecting to internet site");
    }
    bool ok = true;
    if (size > 0) {
        buffer[0] = 0;
        unsigned int n = 0;
        ok = EngInternetReadOpenUrl(connection, buffer, size, 0, &n, timeout_seconds);
        if (ok) {
            buffer[n] = 0;
            if (read)
                *read = n;
        }
    }
    EngInternetCloseHandle(connection);
    EngInternetCloseHandle(session);
    if (!ok)
        return FailWithReason(error_text, "Problem communicating with internet site");
    if (error_text)
        error_text[0] = 0;
    return true;
}

HINTERNET EngInternetInitSession(const char *agent)
{
    if (!agent) {
        DebugError("EngInternetInitSession", "No session name");
        return nullptr;
    }
    HINTERNET session = InternetOpenA(agent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!session)
        EngInternetCheckError("InternetOpenA", 0);
    return session;
}

HINTERNET EngInternetOpenConnectionToUrl(HINTERNET session, const char *url, char reload, char allow_ui)
{
    const char *where = "EngInternetOpenConnectionToUrl";
    if (allow_ui == 1)
        DebugError(where, "Check SW_HIDE calling here - causes deletion / creation of graphics");
    if (!session) {
        DebugError(where, "No session exists");
        return nullptr;
    }
    if (!url) {
        DebugError(where, "No URL specified");
        return nullptr;
    }
    DWORD flags = INTERNET_FLAG_RESYNCHRONIZE;
    if (reload)
        flags |= INTERNET_FLAG_RELOAD;
    if (!allow_ui)
        flags |= INTERNET_FLAG_NO_UI;
    SetLastError(0);
    HINTERNET connection = InternetOpenUrlA(session, url, nullptr, 0, flags, 0);
    if (!connection)
        EngInternetCheckError("InternetOpenUrlA", 0);
    return connection;
}

bool EngInternetReadOpenUrl(HINTERNET connection, char *buffer, unsigned int size, unsigned int offset,
                            unsigned int *read, int timeout_seconds)
{
    const char *where = "EngInternetReadOpenUrl";
    if (!connection) {
        DebugError(where, "No connection exists");
        return false;
    }
    if (!buffer || size == 0) {
        DebugError(where, "Invalid parameters");
        return false;
    }
    double deadline = EngMainUpdateProgramTime() + timeout_seconds;
    buffer[0] = 0;
    InternetSetFilePointer(connection, static_cast<LONG>(offset), nullptr, FILE_BEGIN, 0);
    DWORD piece = size < kPieceSize ? size : kPieceSize;
    char local[kPieceSize + 1];
    unsigned int kept = 0;
    bool ok = true;
    for (;;) {
        DWORD available = 0;
        if (!InternetQueryDataAvailable(connection, &available, 0, 0)) {
            ReportReadFailure("InternetQueryDataAvailable", timeout_seconds);
            ok = false;
            break;
        }
        DWORD n = 0;
        if (!InternetReadFile(connection, local, piece, &n)) {
            ReportReadFailure("InternetReadFile", timeout_seconds);
            ok = false;
            break;
        }
        if (n > 0 && kept + n >= size) {
            DebugNoteWithName(2, where, "Warning: Buffer too small to read all data.");
            break;
        }
        memcpy(buffer + kept, local, n);
        kept += n;
        buffer[kept] = 0;
        if (timeout_seconds != 0 && EngMainUpdateProgramTime() > deadline) {
            DebugError(where, "Timeout after %d seconds", timeout_seconds);
            ok = false;
            break;
        }
        if (n == 0)
            break;
    }
    if (read)
        *read = kept;
    return ok;
}

void EngInternetCloseHandle(HINTERNET handle)
{
    if (handle)
        InternetCloseHandle(handle);
}

void EngInternetCheckError(const char *where, unsigned int code)
{
    EngInternetReportError(where, code, "EngInternetCheckError", "EngInternetCheckError");
}

void EngInternetReportError(const char *where, unsigned int code, const char *file_where, const char *file_text)
{
    if (code == 0) {
        code = GetLastError();
        EngFileOutputLastError(file_where, file_text, 1, code, 0);
    }
    char message[257];
    InternetFormatErrorMessage(code, message, sizeof(message));
    char text[320];
    snprintf(text, sizeof(text), "Error code: %d => Message: %s", static_cast<int>(code), message);
    if (code != ERROR_INTERNET_EXTENDED_ERROR) {
        DebugError(where, "%s", text);
        return;
    }

    // The detail of an extended error is the last response text.
    DWORD response_error = 0, length = 0;
    InternetGetLastResponseInfoA(&response_error, nullptr, &length);
    if (length == 0)
        return;
    char *response = static_cast<char *>(EngMalloc(length + 1, "EngInternetCheckError", 1));
    if (!response) {
        DebugError(where, "%sUnable to allocate memory to display Internet error code. Error code: %u", text,
                   static_cast<unsigned>(GetLastError()));
        return;
    }
    DWORD size = length + 1;
    if (!InternetGetLastResponseInfoA(&response_error, response, &size)) {
        DebugError(where, "%sUnable to get Internet error. Error code: %u", text, static_cast<unsigned>(GetLastError()));
        EngFree(response, 0, "EngInternetCheckError");
        return;
    }
    unsigned joined_size = static_cast<unsigned>(strlen(text) + strlen(response) + 1);
    char *joined = static_cast<char *>(EngMalloc(joined_size, "EngInternetCheckError", 0));
    if (!joined) {
        DebugError(where, "%sUnable to allocate memory. Error code: %u", text, static_cast<unsigned>(GetLastError()));
    } else {
        snprintf(joined, joined_size, "%s%s", text, response);
        DebugError(where, "%s", joined);
        EngFree(joined, 0, "EngInternetCheckError");
    }
    EngFree(response, 0, "EngInternetCheckError");
}
