#include "engine/net/EngInternetThread_PC.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/net/EngInternetReadURL.h"
#include "engine/net/EngInternetThreadWorker.h"
#include "platform/win32/Win32Error.h"

namespace {

const char *kAgent = "EngInternetThread_PC::PrepareForReading";

} // namespace

EngInternetThread_PC::EngInternetThread_PC(EngInternetThreadWorker *parent_worker)
    : m_parent(parent_worker), m_session(nullptr), m_connection(nullptr), m_timeout_ms(0), m_url(nullptr),
      m_stage(0), m_read_state(0)
{
}

EngInternetThread_PC::~EngInternetThread_PC()
{
    CloseConnection();
}

bool EngInternetThread_PC::PrepareForReading(const char *url_to_read, int timeout_seconds)
{
    const char *where = "EngInternetThread_PC::PrepareForReading";
    if (!m_parent) {
        DebugError(where, "No parent.");
        return false;
    }
    if (!url_to_read || !url_to_read[0]) {
        DebugError(where, "No URL");
        return false;
    }
    EngFree(m_url, 0, where);
    m_url = EngMallocStringFromString(url_to_read, 0, where);
    if (!m_url) {
        DebugErrorCode(where, 'OMEM');
        return false;
    }
    const DWORD longest = 0xFFFFFFFFu / 1000;
    DWORD seconds = timeout_seconds > 0 ? static_cast<DWORD>(timeout_seconds) : 0;
    m_timeout_ms = (seconds < longest ? seconds : longest) * 1000;
    m_read_state = 0;
    m_stage = 1;
    return true;
}

_EngInternetThreadReadResult EngInternetThread_PC::ReadFromOpenStream(char *buffer, unsigned int size,
                                                                      unsigned int *got)
{
    const char *where = "EngInternetThread_PC::ReadFromOpenStream";
    if (m_stage == 1) {
        if (m_session || m_connection || !m_url || !m_url[0]) {
            DebugErrorCode(where, 'IERR');
            return EITRR_ERROR;
        }
        m_session = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        if (!m_session) {
            DWORD error = GetLastError();
            DebugError(where, "Error trying to initialise internet session");
            SetLastError(error);
            CheckError("InternetOpenA", 0);
            return EITRR_ERROR;
        }
        InternetSetOptionA(m_session, INTERNET_OPTION_CONNECT_TIMEOUT, &m_timeout_ms, sizeof(m_timeout_ms));
        InternetSetOptionA(m_session, INTERNET_OPTION_SEND_TIMEOUT, &m_timeout_ms, sizeof(m_timeout_ms));
        InternetSetOptionA(m_session, INTERNET_OPTION_RECEIVE_TIMEOUT, &m_timeout_ms, sizeof(m_timeout_ms));
        PlatformInternetSetAbortFlag(m_session, m_parent->GetAbortFlag());
        if (!OpenConnectionToUrl(m_url)) {
            bool cancelled = GetLastError() == ERROR_INTERNET_OPERATION_CANCELLED;
            EngInternetCloseHandle(m_session);
            m_session = nullptr;
            if (cancelled)
                return EITRR_CANCELLED;
            DebugError(where, "Problem connecting to internet site");
            return EITRR_ERROR;
        }
        if (got)
            *got = 0;
        m_stage = 2;
        return EITRR_IN_PROGRESS;
    }
    if (m_stage == 2) {
        if (!m_session) {
            DebugError(where, "Not setup properly");
            return EITRR_ERROR;
        }
        if (!buffer || size == 0 || !got) {
            DebugError(where, "Parameters error");
            return EITRR_ERROR;
        }
        if (m_read_state == 0) {
            m_read_state = 1;
            *got = 0;
            return EITRR_IN_PROGRESS;
        }
        DWORD n = 0;
        if (!InternetReadFile(m_connection, buffer, size, &n)) {
            *got = 0;
            DWORD error = GetLastError();
            if (error == ERROR_INTERNET_OPERATION_CANCELLED)
                return EITRR_CANCELLED;
            CheckError("InternetReadFile", error);
            return EITRR_ERROR;
        }
        *got = n;
        if (n > 0)
            return EITRR_IN_PROGRESS;
        m_read_state = 2;
        return EITRR_DONE;
    }
    DebugError(where, "Internal Error [%d]", m_stage);
    return EITRR_ERROR;
}

bool EngInternetThread_PC::OpenConnectionToUrl(const char *url_to_open)
{
    const char *where = "EngInternetThread_PC::OpenConnectionToUrl";
    if (!m_session) {
        DebugError(where, "No session exists");
        return false;
    }
    if (!url_to_open || !url_to_open[0]) {
        DebugError(where, "No URL specified");
        return false;
    }
    m_connection = InternetOpenUrlA(m_session, url_to_open, nullptr, 0,
                                  INTERNET_FLAG_RELOAD | INTERNET_FLAG_RESYNCHRONIZE | INTERNET_FLAG_NO_UI,
                                  reinterpret_cast<DWORD_PTR>(this));
    if (!m_connection) {
        DWORD error = GetLastError();
        // Cancelled on purpose: nothing to report.
        if (error == ERROR_INTERNET_OPERATION_CANCELLED)
            return false;
        DebugError(where, "InternetOpenUrlA failed [0x%x].", static_cast<unsigned>(error));
        SetLastError(error);
        CheckError(where, 0);
        return false;
    }
    // An error page is not the resource asked for.
    DWORD status = 0, length = sizeof(status);
    if (HttpQueryInfoA(m_connection, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr) &&
        status >= 400) {
        DebugError(where, "The server answered with HTTP status %u.", static_cast<unsigned>(status));
        EngInternetCloseHandle(m_connection);
        m_connection = nullptr;
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
    EngInternetCloseHandle(m_connection);
    EngInternetCloseHandle(m_session);
    m_connection = nullptr;
    m_session = nullptr;
    EngFree(m_url, 0, "EngInternetThread_PC::CloseConnection");
    m_url = nullptr;
    m_stage = 0;
    m_read_state = 0;
}
