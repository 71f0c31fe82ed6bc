// The program's road to HTTP: libcurl's process-wide set-up, a bare easy
// handle for code that drives a transfer itself, and CurlInterface, which runs
// one request (a GET, or a POST of a byte block) on the calling thread and
// keeps the answer in a buffer of fixed capacity.
//
// An answer longer than the buffer is cut to capacity - 1 bytes and still
// counts as received. Only http and https addresses are requested, HTTP
// statuses of 400 and above are failures, peers are verified, and every
// transfer is bounded by the caller's time-out. Failures
// are reported through the error reporter and returned as false or null;
// after any false result the object is idle and can be used again.
//
// Another thread may call Exit or ExitWithWait while a transfer runs: they
// only mark the object as exiting, and the transferring thread drops the
// request when the transfer returns.
#pragma once

#include <cstddef>

class EngMutex;
struct PlatformCurl;

bool CurlInterface_InitCurl();
bool CurlInterface_IsCurlSetup();
void CurlInterface_ExitCurl();
// A new easy handle for the caller to drive and end, or null.
PlatformCurl *CurlInterface_CallCurlEasyInit();

class CurlInterface {
public:
    // name: at most 11 characters kept, "CurlI" when null.
    CurlInterface(const char *name, char verbose);
    ~CurlInterface();

    // Requests url (with "?" and query after it when query is given): a POST
    // of post_data when it is given with a size above 0, else a GET. True
    // when an answer was received; it stays until the next request or Exit.
    // aborted (may be null) is set when an exit from another thread ended
    // the request.
    bool DownloadFromUrl(const char *url, const char *query, unsigned capacity, const void *post_data,
                         unsigned post_size, char skip_newlines, int timeout_seconds, char *aborted);
    // The answer, 0-terminated; with skip_newlines, after at most two leading
    // line feeds. Null ("No Data") when nothing was received.
    char *GetDownloadedData();
    unsigned GetDownloadedSize();

    void Exit();
    // Waits up to 60 s for a running transfer to end, then Exit.
    bool ExitWithWait();

    CurlInterface(const CurlInterface &) = delete;
    CurlInterface &operator=(const CurlInterface &) = delete;

private:
    bool DoDownloadFromUrl(const char *url, const char *query, unsigned capacity, const void *post_data,
                           unsigned post_size, char skip_newlines, int timeout_seconds, char *aborted);
    void CleanupHandles();
    void DropRequest();
    bool IsPerforming();
    unsigned SkippedNewlines() const;
    unsigned WriteDataFunctionCB(void *data, unsigned size, unsigned count);
    static size_t WriteDataFunctionCB_Static(char *data, size_t size, size_t count, void *object);

    char m_curl_setup_here;
    char *m_data;
    unsigned m_size;
    unsigned m_capacity;
    char m_skip_newlines;
    char m_doing_perform;
    char m_name[12];
    PlatformCurl *m_curl_e;
    char m_verbose;
    CurlInterface *m_self;
    EngMutex *m_mutex;
    char m_exiting;
    unsigned char m_magic;
};
