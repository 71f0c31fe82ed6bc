#include "platform/inet/WinInet.h"
#include "platform/win32/Win32Error.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <new>
#include <string>
#include <strings.h>

namespace {

const DWORD kDefaultConnectMs = 60000;
const DWORD kDefaultSendMs = 30000;
const DWORD kDefaultReceiveMs = 30000;
const long kMaxRedirects = 10;
// Longest single wait inside the transfer loop, so deadlines are noticed.
const int kPollSliceMs = 100;

// libcurl's process-wide set-up must happen once, before any thread uses it:
// a static object does it while the process starts, on the main thread.
struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};
CurlGlobal curl_global;

enum HandleKind { HK_SESSION, HK_URL };

struct Timeouts {
    DWORD connect_ms = 0;
    DWORD send_ms = 0;
    DWORD receive_ms = 0;
};

DWORD OrDefault(DWORD ms, DWORD fallback)
{
    return ms ? ms : fallback;
}

// Body bytes received from the transfer and not yet read by the caller.
struct ByteQueue {
    char *data = nullptr;
    size_t start = 0;
    size_t end = 0;
    size_t capacity = 0;

    size_t Size() const { return end - start; }

    bool Append(const char *bytes, size_t n)
    {
        if (end + n > capacity && start > 0) {
            memmove(data, data + start, end - start);
            end -= start;
            start = 0;
        }
        if (end + n > capacity) {
            size_t wanted = capacity ? capacity * 2 : 16384;
            if (wanted < end + n)
                wanted = end + n;
            char *grown = static_cast<char *>(realloc(data, wanted));
            if (!grown)
                return false;
            data = grown;
            capacity = wanted;
        }
        memcpy(data + end, bytes, n);
        end += n;
        return true;
    }

    size_t Take(char *out, size_t max)
    {
        size_t n = Size() < max ? Size() : max;
        memcpy(out, data + start, n);
        start += n;
        if (start == end)
            start = end = 0;
        return n;
    }

    ~ByteQueue() { free(data); }
};

struct InternetHandle {
    HandleKind kind;
    Timeouts timeouts;
    // The whole of a URL's open and reads, 0 for none; a URL handle keeps
    // the moment it ends instead.
    DWORD time_limit_ms = 0;
    // Raised by another thread to end the transfers at once; may be null.
    const std::atomic<bool> *abort = nullptr;
    InternetHandle *next_live = nullptr;
    explicit InternetHandle(HandleKind k) : kind(k) {}
};

struct Session : InternetHandle {
    char *agent = nullptr;
    Session() : InternetHandle(HK_SESSION) {}
    ~Session() { free(agent); }
};

struct UrlHandle : InternetHandle {
    CURL *easy = nullptr;
    CURLM *multi = nullptr;
    curl_slist *headers = nullptr;
    ByteQueue body;
    bool out_of_memory = false;
    // The headers of the answer that the body belongs to have all arrived.
    bool final_headers = false;
    bool block_has_location = false;
    // A redirect was followed (or refused) on the way to the answer.
    bool redirected = false;
    bool finished = false;
    CURLcode result = CURLE_OK;
    DWORD position = 0;
    // When the session's time limit ends this URL (monotonic ms), 0: never.
    long limit_at_ms = 0;
    char error_detail[CURL_ERROR_SIZE] = "";

    UrlHandle() : InternetHandle(HK_URL) {}
    ~UrlHandle()
    {
        if (multi && easy)
            curl_multi_remove_handle(multi, easy);
        if (easy)
            curl_easy_cleanup(easy);
        if (multi)
            curl_multi_cleanup(multi);
        curl_slist_free_all(headers);
    }
};

// Every open handle, so a stale or foreign pointer is refused, not followed.
std::mutex live_mutex;
InternetHandle *live_handles = nullptr;

void AddLive(InternetHandle *handle)
{
    std::lock_guard<std::mutex> lock(live_mutex);
    handle->next_live = live_handles;
    live_handles = handle;
}

bool RemoveLive(InternetHandle *handle)
{
    std::lock_guard<std::mutex> lock(live_mutex);
    for (InternetHandle **link = &live_handles; *link; link = &(*link)->next_live) {
        if (*link == handle) {
            *link = handle->next_live;
            return true;
        }
    }
    return false;
}

InternetHandle *FindLive(HINTERNET handle)
{
    std::lock_guard<std::mutex> lock(live_mutex);
    for (InternetHandle *h = live_handles; h; h = h->next_live)
        if (h == handle)
            return h;
    return nullptr;
}

std::mutex ca_file_mutex;
std::string ca_file_for_tests;

thread_local char last_response[CURL_ERROR_SIZE + 64] = "";
thread_local DWORD last_response_error = 0;

BOOL Fail(DWORD code)
{
    SetLastError(code);
    return FALSE;
}

Session *AsSession(HINTERNET handle)
{
    InternetHandle *h = FindLive(handle);
    return h && h->kind == HK_SESSION ? static_cast<Session *>(h) : nullptr;
}

UrlHandle *AsUrl(HINTERNET handle)
{
    InternetHandle *h = FindLive(handle);
    return h && h->kind == HK_URL ? static_cast<UrlHandle *>(h) : nullptr;
}

long NowMs()
{
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// A wait of wait_ms from now, held within the URL's time limit.
long DeadlineMs(const UrlHandle *u, long wait_ms)
{
    long deadline = NowMs() + wait_ms;
    return u->limit_at_ms && u->limit_at_ms < deadline ? u->limit_at_ms : deadline;
}

// Sets the thread's last error for a failed transfer.
void FailTransfer(UrlHandle *u)
{
    DWORD code;
    switch (u->out_of_memory ? CURLE_OUT_OF_MEMORY : u->result) {
    case CURLE_OPERATION_TIMEDOUT:
        code = ERROR_INTERNET_TIMEOUT;
        break;
    case CURLE_URL_MALFORMAT:
        code = ERROR_INTERNET_INVALID_URL;
        break;
    case CURLE_UNSUPPORTED_PROTOCOL:
        // After a redirect: one to a scheme that is not allowed from here.
        code = u->redirected ? ERROR_HTTP_REDIRECT_FAILED : ERROR_INTERNET_UNRECOGNIZED_SCHEME;
        break;
    case CURLE_ABORTED_BY_CALLBACK:
        code = ERROR_INTERNET_OPERATION_CANCELLED;
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        code = ERROR_INTERNET_NAME_NOT_RESOLVED;
        break;
    case CURLE_COULDNT_CONNECT:
        code = ERROR_INTERNET_CANNOT_CONNECT;
        break;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        code = ERROR_INTERNET_CONNECTION_ABORTED;
        break;
    case CURLE_SEND_ERROR:
        code = ERROR_INTERNET_CONNECTION_RESET;
        break;
    case CURLE_WEIRD_SERVER_REPLY:
        code = ERROR_HTTP_INVALID_SERVER_RESPONSE;
        break;
    case CURLE_TOO_MANY_REDIRECTS:
        code = ERROR_HTTP_REDIRECT_FAILED;
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
        code = ERROR_INTERNET_INVALID_CA;
        break;
    case CURLE_OUT_OF_MEMORY:
        code = ERROR_NOT_ENOUGH_MEMORY;
        break;
    default:
        code = ERROR_INTERNET_EXTENDED_ERROR;
        snprintf(last_response, sizeof(last_response), "%s",
                 u->error_detail[0] ? u->error_detail : curl_easy_strerror(u->result));
        last_response_error = code;
        break;
    }
    Fail(code);
}

size_t WriteCB(char *bytes, size_t size, size_t count, void *user)
{
    UrlHandle *u = static_cast<UrlHandle *>(user);
    size_t n = size * count;
    if (!u->body.Append(bytes, n)) {
        u->out_of_memory = true;
        return 0;
    }
    return n;
}

// Learns when the answer whose body follows has sent all its headers: a
// header block that ends and is neither an interim (1xx) answer nor a
// redirect on the way.
size_t HeaderCB(char *bytes, size_t size, size_t count, void *user)
{
    UrlHandle *u = static_cast<UrlHandle *>(user);
    size_t n = size * count;
    if (n >= 9 && strncasecmp(bytes, "Location:", 9) == 0) {
        for (size_t i = 9; i < n; i++)
            if (bytes[i] != ' ' && bytes[i] != '\t' && bytes[i] != '\r' && bytes[i] != '\n')
                u->block_has_location = true;
    } else if ((n == 2 && bytes[0] == '\r' && bytes[1] == '\n') || (n == 1 && bytes[0] == '\n')) {
        long status = 0;
        curl_easy_getinfo(u->easy, CURLINFO_RESPONSE_CODE, &status);
        bool interim = status >= 100 && status < 200;
        bool redirect = status >= 300 && status < 400 && u->block_has_location;
        if (redirect)
            u->redirected = true;
        else if (!interim)
            u->final_headers = true;
        u->block_has_location = false;
    }
    return n;
}

bool Aborted(const UrlHandle *u)
{
    return u->abort && u->abort->load();
}

// Called by libcurl while it works on the transfer: a non-zero answer ends it.
int ProgressCB(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return Aborted(static_cast<UrlHandle *>(user)) ? 1 : 0;
}

// Runs the transfer for at most one poll slice. 0 to go on, else the error
// that ends the wait: the deadline has passed or the abort flag is up.
DWORD Drive(UrlHandle *u, long deadline_ms)
{
    if (Aborted(u))
        return ERROR_INTERNET_OPERATION_CANCELLED;
    int running = 0;
    curl_multi_perform(u->multi, &running);
    int queued = 0;
    while (CURLMsg *msg = curl_multi_info_read(u->multi, &queued)) {
        if (msg->msg == CURLMSG_DONE) {
            u->finished = true;
            u->result = msg->data.result;
        }
    }
    if (u->finished || u->body.Size() > 0)
        return 0;
    long left = deadline_ms - NowMs();
    if (left <= 0)
        return ERROR_INTERNET_TIMEOUT;
    curl_multi_poll(u->multi, nullptr, 0, static_cast<int>(left < kPollSliceMs ? left : kPollSliceMs), nullptr);
    return 0;
}

// A transfer that starts on https may only be redirected to https: the
// answer must not leave the encrypted connection.
const char *RedirectProtocols(const char *url)
{
    return strncasecmp(url, "https:", 6) == 0 ? "https" : "http,https";
}

bool SetUpTransfer(UrlHandle *u, Session *s, const char *url, DWORD flags)
{
    u->easy = curl_easy_init();
    u->multi = curl_multi_init();
    if (!u->easy || !u->multi)
        return false;
    if (flags & INTERNET_FLAG_RELOAD) {
        curl_slist *list = curl_slist_append(nullptr, "Cache-Control: no-cache");
        if (!list)
            return false;
        u->headers = list;
        if (!curl_slist_append(list, "Pragma: no-cache"))
            return false;
    }
    CURL *e = u->easy;
    bool ok = curl_easy_setopt(e, CURLOPT_URL, url) == CURLE_OK;
    curl_easy_setopt(e, CURLOPT_USERAGENT, s->agent);
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, u->headers);
    curl_easy_setopt(e, CURLOPT_PROXY, "");
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, RedirectProtocols(url));
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    {
        std::lock_guard<std::mutex> lock(ca_file_mutex);
        if (!ca_file_for_tests.empty())
            ok = ok && curl_easy_setopt(e, CURLOPT_CAINFO, ca_file_for_tests.c_str()) == CURLE_OK;
    }
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(OrDefault(u->timeouts.connect_ms, kDefaultConnectMs)));
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, u->error_detail);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, WriteCB);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, u);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, HeaderCB);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, u);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, ProgressCB);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, u);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    return ok && curl_multi_add_handle(u->multi, e) == CURLM_OK;
}

} // namespace

HINTERNET InternetOpenA(const char *agent, DWORD access_type, const char *proxy, const char *proxy_bypass,
                        DWORD flags)
{
    if (access_type != INTERNET_OPEN_TYPE_DIRECT || proxy || proxy_bypass || flags) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Session *s = new (std::nothrow) Session;
    if (!s || !(s->agent = strdup(agent ? agent : ""))) {
        delete s;
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    AddLive(s);
    return s;
}

BOOL InternetSetOptionA(HINTERNET handle, DWORD option, void *value, DWORD length)
{
    InternetHandle *h = FindLive(handle);
    if (!h)
        return Fail(ERROR_INVALID_HANDLE);
    DWORD *target;
    switch (option) {
    case INTERNET_OPTION_CONNECT_TIMEOUT:
        target = &h->timeouts.connect_ms;
        break;
    case INTERNET_OPTION_SEND_TIMEOUT:
        target = &h->timeouts.send_ms;
        break;
    case INTERNET_OPTION_RECEIVE_TIMEOUT:
        target = &h->timeouts.receive_ms;
        break;
    default:
        return Fail(ERROR_INTERNET_INVALID_OPTION);
    }
    if (!value || length < sizeof(DWORD))
        return Fail(ERROR_INVALID_PARAMETER);
    memcpy(target, value, sizeof(DWORD));
    return TRUE;
}

void PlatformInternetSetCaFileForTests(const char *file)
{
    std::lock_guard<std::mutex> lock(ca_file_mutex);
    ca_file_for_tests = file ? file : "";
}

BOOL PlatformInternetSetTimeLimit(HINTERNET session, DWORD ms)
{
    Session *s = AsSession(session);
    if (!s)
        return Fail(ERROR_INVALID_HANDLE);
    s->time_limit_ms = ms;
    return TRUE;
}

BOOL PlatformInternetSetAbortFlag(HINTERNET session, const std::atomic<bool> *abort)
{
    Session *s = AsSession(session);
    if (!s)
        return Fail(ERROR_INVALID_HANDLE);
    s->abort = abort;
    return TRUE;
}

HINTERNET InternetOpenUrlA(HINTERNET session, const char *url, const char *headers, DWORD headers_length,
                           DWORD flags, DWORD_PTR)
{
    Session *s = AsSession(session);
    if (!s) {
        Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!url || (headers && headers_length)) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    UrlHandle *u = new (std::nothrow) UrlHandle;
    if (!u) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    u->timeouts = s->timeouts;
    u->abort = s->abort;
    if (s->time_limit_ms)
        u->limit_at_ms = NowMs() + static_cast<long>(s->time_limit_ms);
    if (!SetUpTransfer(u, s, url, flags)) {
        delete u;
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const Timeouts &t = u->timeouts;
    long deadline = DeadlineMs(u, static_cast<long>(OrDefault(t.connect_ms, kDefaultConnectMs)) +
                                      OrDefault(t.send_ms, kDefaultSendMs) + OrDefault(t.receive_ms, kDefaultReceiveMs));
    while (!u->final_headers && !u->finished && u->body.Size() == 0) {
        if (DWORD error = Drive(u, deadline)) {
            delete u;
            Fail(error);
            return nullptr;
        }
    }
    if (u->finished && u->body.Size() == 0 && (u->result != CURLE_OK || u->out_of_memory)) {
        FailTransfer(u);
        delete u;
        return nullptr;
    }
    AddLive(u);
    return u;
}

BOOL HttpQueryInfoA(HINTERNET url_handle, DWORD info_level, void *buffer, DWORD *buffer_length, DWORD *index)
{
    UrlHandle *u = AsUrl(url_handle);
    if (!u)
        return Fail(ERROR_INVALID_HANDLE);
    if (info_level != (HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER) || !buffer || !buffer_length ||
        *buffer_length < sizeof(DWORD) || (index && *index))
        return Fail(ERROR_INVALID_PARAMETER);
    long status = 0;
    curl_easy_getinfo(u->easy, CURLINFO_RESPONSE_CODE, &status);
    DWORD value = static_cast<DWORD>(status);
    memcpy(buffer, &value, sizeof(value));
    *buffer_length = sizeof(value);
    return TRUE;
}

BOOL InternetReadFile(HINTERNET url_handle, void *buffer, DWORD to_read, DWORD *read)
{
    UrlHandle *u = AsUrl(url_handle);
    if (!u)
        return Fail(ERROR_INVALID_HANDLE);
    if (!buffer || !read || to_read == 0)
        return Fail(ERROR_INVALID_PARAMETER);
    *read = 0;
    long deadline = DeadlineMs(u, OrDefault(u->timeouts.receive_ms, kDefaultReceiveMs));
    while (u->body.Size() == 0 && !u->finished)
        if (DWORD error = Drive(u, deadline))
            return Fail(error);
    if (u->body.Size() > 0) {
        *read = static_cast<DWORD>(u->body.Take(static_cast<char *>(buffer), to_read));
        u->position += *read;
        return TRUE;
    }
    if (u->result != CURLE_OK || u->out_of_memory) {
        FailTransfer(u);
        return FALSE;
    }
    return TRUE;
}

BOOL InternetQueryDataAvailable(HINTERNET url_handle, DWORD *available, DWORD flags, DWORD_PTR context)
{
    UrlHandle *u = AsUrl(url_handle);
    if (!u)
        return Fail(ERROR_INVALID_HANDLE);
    if (!available || flags || context)
        return Fail(ERROR_INVALID_PARAMETER);
    *available = 0;
    long deadline = DeadlineMs(u, OrDefault(u->timeouts.receive_ms, kDefaultReceiveMs));
    while (u->body.Size() == 0 && !u->finished)
        if (DWORD error = Drive(u, deadline))
            return Fail(error);
    if (u->body.Size() == 0 && (u->result != CURLE_OK || u->out_of_memory)) {
        FailTransfer(u);
        return FALSE;
    }
    *available = static_cast<DWORD>(u->body.Size());
    return TRUE;
}

DWORD InternetSetFilePointer(HINTERNET url_handle, LONG distance, LONG *distance_high, DWORD method, DWORD_PTR)
{
    UrlHandle *u = AsUrl(url_handle);
    if (!u) {
        Fail(ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    if (method != FILE_BEGIN || (distance_high && *distance_high) || distance < 0 ||
        static_cast<DWORD>(distance) != u->position) {
        Fail(ERROR_INTERNET_INVALID_OPERATION);
        return INVALID_SET_FILE_POINTER;
    }
    return u->position;
}

BOOL InternetCloseHandle(HINTERNET handle)
{
    InternetHandle *h = FindLive(handle);
    if (!h || !RemoveLive(h))
        return Fail(ERROR_INVALID_HANDLE);
    if (h->kind == HK_SESSION)
        delete static_cast<Session *>(h);
    else
        delete static_cast<UrlHandle *>(h);
    return TRUE;
}

BOOL InternetGetLastResponseInfoA(DWORD *error, char *buffer, DWORD *length)
{
    if (!error || !length)
        return Fail(ERROR_INVALID_PARAMETER);
    DWORD n = static_cast<DWORD>(strlen(last_response));
    if (n == 0) {
        *length = 0;
        return TRUE;
    }
    if (!buffer || *length < n + 1) {
        *length = n + 1;
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    memcpy(buffer, last_response, n + 1);
    *length = n;
    *error = last_response_error;
    return TRUE;
}

DWORD InternetFormatErrorMessage(DWORD code, char *buffer, DWORD size)
{
    static const struct {
        DWORD code;
        const char *text;
    } texts[] = {
        {ERROR_INVALID_HANDLE, "The handle is invalid."},
        {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory is available to complete the request."},
        {ERROR_INVALID_PARAMETER, "A parameter is incorrect."},
        {ERROR_INSUFFICIENT_BUFFER, "The buffer given is too small."},
        {ERROR_INTERNET_TIMEOUT, "The operation timed out."},
        {ERROR_INTERNET_EXTENDED_ERROR, "The server or the transfer gave an extended error; see the last response info."},
        {ERROR_INTERNET_INVALID_URL, "The URL is invalid."},
        {ERROR_INTERNET_UNRECOGNIZED_SCHEME, "The URL does not use a supported protocol."},
        {ERROR_INTERNET_NAME_NOT_RESOLVED, "The server name could not be resolved."},
        {ERROR_INTERNET_INVALID_OPTION, "The option is not supported."},
        {ERROR_INTERNET_INVALID_OPERATION, "The operation is not possible on this handle."},
        {ERROR_INTERNET_OPERATION_CANCELLED, "The operation was cancelled."},
        {ERROR_INTERNET_CANNOT_CONNECT, "A connection with the server could not be made."},
        {ERROR_INTERNET_CONNECTION_ABORTED, "The connection with the server ended before the answer was complete."},
        {ERROR_INTERNET_CONNECTION_RESET, "The connection with the server was reset."},
        {ERROR_INTERNET_INVALID_CA, "The server's certificate could not be verified."},
        {ERROR_HTTP_INVALID_SERVER_RESPONSE, "The server's answer could not be understood."},
        {ERROR_HTTP_REDIRECT_FAILED, "The redirection failed."},
    };
    if (!buffer || size == 0)
        return 0;
    buffer[0] = 0;
    for (const auto &t : texts) {
        if (t.code == code) {
            snprintf(buffer, size, "%s", t.text);
            return static_cast<DWORD>(strlen(buffer));
        }
    }
    return 0;
}
