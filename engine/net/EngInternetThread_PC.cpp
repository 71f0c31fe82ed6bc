#include "engine/net/EngInternetThread_PC.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/net/EngInternetReadURL.h"
#include "platform/win32/Win32Error.h"

namespace {

const char *kAgent = "EngInternetThread_PC::PrepareForReading";

} // namespace

EngInternetThread_PC::EngInternetThread_PC(EngInternetThreadWorker *parent_worker)
    : parent(parent_worker), session(nullptr), connection(nullptr), timeout_ms(0), url(nullptr), stage(0),
      read_state(0)
{
}

EngInternetThread_PC::~EngInternetThread_PC()
{
    CloseConnection();
}

bool EngInternetThread_PC::PrepareForReading(const char *url_to_read, int timeout_seconds)
{
    const char *where = "EngInternetThread_PC::PrepareForReading";
    if (!parent) {
        DebugError(where, "No parent.");
        return false;
    }
    if (!url_to_read || !url_to_read[0]) {
        DebugError(where, "No URL");
        return false;
    }
    EngFree(url, 0, where);
    url = EngMallocStringFromString(url_to_read, 0, where);
    if (!url) {
        DebugErrorCode(where, 'OMEM');
        return false;
    }
    const DWORD longest = 0xFFFFFFFFu / 1000;
    DWORD seconds = timeout_seconds > 0 ? static_cast<DWORD>(timeout_seconds) : 0;
    timeout_ms = (seconds < longest ? seconds : longest) * 1000;
    read_state = 0;
    stage = 1;
    return true;
}

_EngInternetThreadReadResult EngInternetThread_PC::ReadFromOpenStream(char *buffer, unsigned int size,
                                                                      unsigned int *got)
{
    const char *where = "EngInternetThread_PC::ReadFromOpenStream";
    if (stage == 1) {
        if (session || connection || !url || !url[0]) {
            DebugErrorCode(where, 'IERR');
            return EITRR_ERROR;
        }
        session = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        if (!session) {
            DWORD error = GetLastError();
            DebugError(where, "Error trying to initialise internet session");
            SetLastError(error);
            CheckError("InternetOpenA", 0);
            return EITRR_ERROR;
        }
        InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout_ms, sizeof(timeout_ms));
        InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &timeout_ms, sizeof(timeout_ms));
        InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout_ms, sizeof(timeout_ms));
        if (!OpenConnectionToUrl(url)) {
            EngInternetCloseHandle(session);
            session = nullptr;
            DebugError(where, "Problem connecting to internet site");
            return EITRR_ERROR;
        }
        if (got)
            *got = 0;
        stage = 2;
        return EITRR_IN_PROGRESS;
    }
    if (stage == 2) {
        if (!session) {
            DebugError(where, "Not setup properly");
            return EITRR_ERROR;
        }
        if (!buffer || size == 0 || !got) {
            DebugError(where, "Parameters error");
            return EITRR_ERROR;
        }
        if (read_state == 0) {
            read_state = 1;
            *got = 0;
            return EITRR_IN_PROGRESS;
        }
        DWORD n = 0;
        if (!InternetReadFile(connection, buffer, size, &n)) {
            *got = 0;
            CheckError("InternetReadFile", GetLastError());
            return EITRR_ERROR;
        }
        *got = n;
        if (n > 0)
            return EITRR_IN_PROGRESS;
        read_state = 2;
        return EITRR_DONE;
    }
    DebugError(where, "Internal Error [%d]", stage);
    return EITRR_ERROR;
}

bool EngInternetThread_PC::OpenConnectionToUrl(const char *url_to_open)
{
    const char *where = "EngInternetThread_PC::OpenConnectionToUrl";
    if (!session) {
        DebugError(where, "No session exists");
        return false;
    }
    if (!url_to_open || !url_to_open[0]) {
        DebugError(where, "No URL specified");
        return false;
    }
    connection = InternetOpenUrlA(session, url_to_open, nullptr, 0,
                                  INTERNET_FLAG_RELOAD | INTERNET_FLAG_RESYNCHRONIZE | INTERNET_FLAG_NO_UI,
                                  reinterpret_cast<DWORD_PTR>(this));
    if (!connection) {
        DWORD error = GetLastError();
        DebugError(where, "InternetOpenUrlA failed [0x%x].", static_cast<unsigned>(error));
        SetLastError(error);
        CheckError(where, 0);
        return false;
    }
    return true;
}

void EngInternetThread_PC::CheckError(const char *where, unsigned int code)
{
    EngInternetReportError(where, code, "EngInternetThread_PC", "CheckError");
}

void EngInternetThread_PC::CloseConnection()
{
    EngInternetCloseHandle(connection);
    EngInternetCloseHandle(session);
    connection = nullptr;
    session = nullptr;
    EngFree(url, 0, "EngInternetThread_PC::CloseConnection");
    url = nullptr;
    stage = 0;
    read_state = 0;
}
