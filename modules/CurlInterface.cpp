// libcurl set-up and one-request transfers (see the header).
#include "modules/CurlInterface.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngThread.h"
#include "platform/curl/PlatformCurl.h"

#include <cstdio>
#include <cstring>

namespace {

const unsigned char kMagic = 123;
const double kLockSeconds = 2;
const double kWaitSeconds = 60;
const double kWaitSliceSeconds = 0.1;

bool curl_setup = false;
// Shared by all objects: paces the "  waiting..." lines.
int wait_lines = 0;

// Holds an EngMutex for one scope; a lock that times out is reported by
// EngMutex and the scope goes on, as the flags it guards are plain bytes.
class Locked {
public:
    explicit Locked(EngMutex *mutex) : m_mutex(mutex), m_locked(mutex && mutex->Lock()) {}
    ~Locked()
    {
        if (m_locked)
            m_mutex->Unlock();
    }

private:
    EngMutex *m_mutex;
    bool m_locked;
};

} // namespace

bool CurlInterface_InitCurl()
{
    if (curl_setup) {
        DebugError("CurlInterface_InitCurl", "Already setup.");
        return true;
    }
    if (PlatformCurlGlobalInit() != PLATFORM_CURL_OK) {
        DebugError("CurlInterface_InitCurl", "curl_global_init() failed.");
        return false;
    }
    curl_setup = true;
    return true;
}

bool CurlInterface_IsCurlSetup()
{
    return curl_setup;
}

void CurlInterface_ExitCurl()
{
    if (!curl_setup)
        return;
    PlatformCurlGlobalCleanup();
    curl_setup = false;
}

PlatformCurl *CurlInterface_CallCurlEasyInit()
{
    if (!curl_setup) {
        DebugError("CurlInterface_CallCurlEasyInit", "Curl is not setup.");
        return nullptr;
    }
    PlatformCurl *curl = PlatformCurlEasyInit();
    if (!curl)
        DebugError("CurlInterface_CallCurlEasyInit", "curl_easy_init() failed.");
    return curl;
}

CurlInterface::CurlInterface(const char *name, char verbose)
    : m_curl_setup_here(0), m_data(nullptr), m_size(0), m_capacity(0), m_skip_newlines(0), m_doing_perform(0),
      m_name(), m_curl_e(nullptr), m_verbose(0), m_self(nullptr), m_mutex(new EngMutex()), m_exiting(0),
      m_magic(0)
{
    m_mutex->Setup(kLockSeconds);
    Locked lock(m_mutex);
    snprintf(m_name, sizeof(m_name), "%s", name ? name : "CurlI");
    m_magic = kMagic;
    m_verbose = verbose;
    m_self = this;
}

CurlInterface::~CurlInterface()
{
    ExitWithWait();
    delete m_mutex;
    m_mutex = nullptr;
    if (m_curl_setup_here)
        CurlInterface_ExitCurl();
}

bool CurlInterface::DownloadFromUrl(const char *url, const char *query, unsigned capacity, const void *post_data,
                                    unsigned post_size, char skip_newlines, int timeout_seconds, char *aborted)
{
    return DoDownloadFromUrl(url, query, capacity, post_data, post_size, skip_newlines, timeout_seconds, aborted);
}

bool CurlInterface::IsPerforming()
{
    Locked lock(m_mutex);
    return m_doing_perform != 0;
}

bool CurlInterface::DoDownloadFromUrl(const char *url, const char *query, unsigned capacity, const void *post_data,
                                      unsigned post_size, char skip_newlines, int timeout_seconds, char *aborted)
{
    const char *where = "CurlInterface::DoDownloadFromUrl";
    if (!curl_setup)
        m_curl_setup_here = CurlInterface_InitCurl() ? 1 : 0;
    Exit();
    if (!url || !url[0] || capacity == 0) {
        DebugError(where, "Parameters error.");
        return false;
    }
    if (aborted)
        *aborted = 0;
    m_data = static_cast<char *>(EngMalloc(capacity + 1, where, 1));
    if (!m_data) {
        Exit();
        return false;
    }
    if (m_curl_e) {
        DebugError(where, "m_curl_e already exists.");
        Exit();
        return false;
    }
    {
        Locked lock(m_mutex);
        m_curl_e = PlatformCurlEasyInit();
    }
    if (!m_curl_e) {
        DebugError(where, "curl_easy_init() failed");
        Exit();
        return false;
    }
    unsigned address_size = static_cast<unsigned>(strlen(url)) + (query ? static_cast<unsigned>(strlen(query)) : 0) + 2;
    char *address = static_cast<char *>(EngMalloc(address_size, where, 1));
    if (!address) {
        CleanupHandles();
        Exit();
        return false;
    }
    if (query)
        snprintf(address, address_size, "%s?%s", url, query);
    else
        snprintf(address, address_size, "%s", url);
    m_capacity = capacity;
    m_skip_newlines = skip_newlines;

    // Each step runs only while every earlier one succeeded; the step reached
    // names the failure.
    int step = 0;
    int result = PLATFORM_CURL_OK;
    auto next = [&](int number, auto set) {
        if (result == PLATFORM_CURL_OK) {
            step = number;
            result = set();
        }
    };
    {
        Locked lock(m_mutex);
        PlatformCurl *curl = m_curl_e;
        next(0, [&] { return PlatformCurlSetWriteData(curl, this); });
        next(1, [&] { return PlatformCurlSetWriteFunction(curl, WriteDataFunctionCB_Static); });
        // The address and its scheme: web links only.
        next(2, [&] {
            int set = PlatformCurlSetUrl(curl, address);
            return set != PLATFORM_CURL_OK ? set : PlatformCurlSetWebOnly(curl, address);
        });
        next(3, [&] { return PlatformCurlSetTimeout(curl, timeout_seconds); });
        next(4, [&] { return PlatformCurlSetConnectTimeout(curl, timeout_seconds); });
        PlatformCurlSetIpResolveV4(curl);
        PlatformCurlSetNoSignal(curl, 1);
        next(5, [&] { return PlatformCurlSetSslVerifyPeer(curl, 1); });
        if (post_data && post_size > 0) {
            next(6, [&] { return PlatformCurlSetPostFieldSize(curl, static_cast<long>(post_size)); });
            next(7, [&] { return PlatformCurlSetPostFields(curl, post_data); });
            next(8, [&] { return PlatformCurlSetPost(curl, 1); });
        }
        // An error page is a failure, not an answer.
        next(9, [&] { return PlatformCurlSetFailOnError(curl, 1); });
    }
    if (m_doing_perform || m_exiting)
        DebugError(where, "m_doing_perform = %d,  m_exiting = %d", m_doing_perform, m_exiting);
    {
        Locked lock(m_mutex);
        m_doing_perform = 1;
        m_exiting = 0;
    }
    next(10, [&] { return PlatformCurlPerform(m_curl_e); });
    bool exiting;
    {
        Locked lock(m_mutex);
        m_doing_perform = 0;
        exiting = m_exiting != 0;
    }
    if (exiting) {
        if (m_verbose)
            DebugInfoWithName(where, "Done as exiting.");
        CleanupHandles();
        EngFree(address, 0, where);
        DropRequest();
        if (aborted)
            *aborted = 1;
        return false;
    }
    CleanupHandles();
    EngFree(address, 0, where);

    if (result == PLATFORM_CURL_OK)
        return true;
    if (result == PLATFORM_CURL_ABORTED_BY_CALLBACK) {
        Exit();
        return false;
    }
    if (result == PLATFORM_CURL_WRITE_ERROR && m_size == m_capacity - 1) {
        if (m_verbose)
            DebugInfoWithName(where, "More data available to download is ignored.");
        return true;
    }
    if (result == PLATFORM_CURL_COULDNT_CONNECT)
        DebugError(where, "Could not connect.");
    else
        DebugError(where, "Problem ( from: %d  error: %d (%s) )", step, result, PlatformCurlStrError(result));
    Exit();
    return false;
}

char *CurlInterface::GetDownloadedData()
{
    if (!m_data || m_size == 0) {
        DebugError("CurlInterface::GetDownloadedData", "No Data");
        return nullptr;
    }
    return m_data + SkippedNewlines();
}

unsigned CurlInterface::GetDownloadedSize()
{
    return m_size - SkippedNewlines();
}

unsigned CurlInterface::SkippedNewlines() const
{
    if (!m_data || !m_skip_newlines)
        return 0;
    if (m_size >= 2 && m_data[0] == '\n' && m_data[1] == '\n')
        return 2;
    if (m_size >= 1 && m_data[0] == '\n')
        return 1;
    return 0;
}

size_t CurlInterface::WriteDataFunctionCB_Static(char *data, size_t size, size_t count, void *object)
{
    if (!object) {
        DebugErrorCode("CurlInterface::WriteDataFunctionCB_Static", 'IERR');
        return 0;
    }
    // libcurl hands at most CURL_MAX_WRITE_SIZE bytes per call, so the
    // narrowing keeps every value.
    return static_cast<CurlInterface *>(object)->WriteDataFunctionCB(data, static_cast<unsigned>(size),
                                                                      static_cast<unsigned>(count));
}

unsigned CurlInterface::WriteDataFunctionCB(void *data, unsigned size, unsigned count)
{
    const char *where = "CurlInterface::WriteDataFunctionCB";
    if (!curl_setup) {
        DebugError(where, "Curl is not setup.");
        return 0;
    }
    if (m_magic != kMagic) {
        DebugError(where, "Class not setup. [%d] ...", m_magic);
        DebugError(where, "                 [%s] .", m_name);
        return 0;
    }
    unsigned n = size * count;
    if (n == 0)
        return 0;
    if (!m_data) {
        DebugError(where, "No data");
        return 0;
    }
    if (m_size + n >= m_capacity - 1) {
        if (size != 1) {
            DebugError(where, "Expected a size of 1");
            return 0;
        }
        n = m_capacity - m_size - 1;
        if (n == 0) {
            DebugError(where, "Nothing left to write");
            return 0;
        }
    }
    if (m_size + n >= m_capacity) {
        DebugError(where, "Too much data being downloaded.");
        return 0;
    }
    memcpy(m_data + m_size, data, n);
    m_size += n;
    m_data[m_size] = 0;
    return n;
}

void CurlInterface::CleanupHandles()
{
    const char *where = "CurlInterface::CleanupHandles";
    if (IsPerforming()) {
        if (!m_exiting) {
            if (m_self != this) {
                DebugError(where, "Already destroyed.");
                return;
            }
            DebugError(where, "Exiting not on.");
            Locked lock(m_mutex);
            m_exiting = 1;
        }
        if (m_verbose)
            DebugErrorNoLog(where, "Will exit when finished performing.");
        return;
    }
    if (m_self != this) {
        DebugError(where, "Already destroyed.");
        return;
    }
    Locked lock(m_mutex);
    if (m_curl_e) {
        PlatformCurlEasyCleanup(m_curl_e);
        m_curl_e = nullptr;
    }
}

void CurlInterface::DropRequest()
{
    EngFree(m_data, 0, "CurlInterface::DropRequest");
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
    m_skip_newlines = 0;
    Locked lock(m_mutex);
    m_doing_perform = 0;
    m_exiting = 0;
}

void CurlInterface::Exit()
{
    const char *where = "CurlInterface::Exit";
    if (!curl_setup) {
        DebugError(where, "Curl is not setup.");
        return;
    }
    if (m_exiting) {
        if (m_verbose)
            DebugInfoWithName(where, "Already exiting.");
        return;
    }
    if (m_self != this) {
        DebugError(where, "Already destroyed.");
        return;
    }
    if (m_verbose)
        DebugErrorNoLog(where, "[%s] Exiting1... [dp: %d ex: %d]", m_name, m_doing_perform, 0);
    {
        Locked lock(m_mutex);
        m_exiting = 1;
    }
    CleanupHandles();
    // The transferring thread drops the request once its transfer returns.
    if (IsPerforming())
        return;
    if (m_self != this) {
        DebugError(where, "Destroyed while exiting.");
        return;
    }
    DropRequest();
    if (m_verbose)
        DebugErrorNoLog(where, "[%s] Exiting done.", m_name);
}

bool CurlInterface::ExitWithWait()
{
    const char *where = "CurlInterface::ExitWithWait";
    if (m_self != this) {
        DebugError(where, "Already destroyed.");
        return false;
    }
    bool running;
    {
        Locked lock(m_mutex);
        running = m_doing_perform || m_exiting;
        if (m_doing_perform)
            m_exiting = 1;
    }
    if (running) {
        if (m_verbose)
            DebugErrorNoLog(where, "Waiting for perform to complete...");
        double start = EngMiscGetTime_PC();
        while (running && EngMiscGetTime_PC() - start < kWaitSeconds) {
            EngMiscSleep(kWaitSliceSeconds);
            if (m_self != this) {
                DebugError(where, "Destroyed while waiting.");
                return false;
            }
            Locked lock(m_mutex);
            running = m_doing_perform || m_exiting;
            if (running && m_verbose && wait_lines++ > 5) {
                DebugErrorNoLog(where, "  waiting...");
                wait_lines = 0;
            }
        }
    }
    if (m_self != this) {
        DebugError(where, "Destroyed while waiting (2).");
        return false;
    }
    if (running) {
        DebugError(where, "Perform did not complete.");
        return false;
    }
    Exit();
    return true;
}
