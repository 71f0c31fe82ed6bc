#include "platform/curl/PlatformCurl.h"

#include <curl/curl.h>

#include <mutex>
#include <string>
#include <strings.h>

// The handle type is libcurl's own; the struct name only hides it.
static CURL *Easy(PlatformCurl *curl)
{
    return reinterpret_cast<CURL *>(curl);
}

int PlatformCurlGlobalInit()
{
    return curl_global_init(static_cast<long>(CURL_GLOBAL_ALL));
}

void PlatformCurlGlobalCleanup()
{
    curl_global_cleanup();
}

namespace {

std::mutex ca_file_mutex;
std::string ca_file_for_tests;

} // namespace

PlatformCurl *PlatformCurlEasyInit()
{
    CURL *curl = curl_easy_init();
    std::lock_guard<std::mutex> lock(ca_file_mutex);
    if (curl && !ca_file_for_tests.empty() &&
        curl_easy_setopt(curl, CURLOPT_CAINFO, ca_file_for_tests.c_str()) != CURLE_OK) {
        curl_easy_cleanup(curl);
        curl = nullptr;
    }
    return reinterpret_cast<PlatformCurl *>(curl);
}

void PlatformCurlSetCaFileForTests(const char *file)
{
    std::lock_guard<std::mutex> lock(ca_file_mutex);
    ca_file_for_tests = file ? file : "";
}

void PlatformCurlEasyCleanup(PlatformCurl *curl)
{
    if (curl)
        curl_easy_cleanup(Easy(curl));
}

int PlatformCurlSetWriteData(PlatformCurl *curl, void *object)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_WRITEDATA, object);
}

int PlatformCurlSetWriteFunction(PlatformCurl *curl, PlatformCurlWriteCB callback)
{
    curl_write_callback write = callback;
    return curl_easy_setopt(Easy(curl), CURLOPT_WRITEFUNCTION, write);
}

int PlatformCurlSetUrl(PlatformCurl *curl, const char *url)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_URL, url);
}

int PlatformCurlSetTimeout(PlatformCurl *curl, long seconds)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_TIMEOUT, seconds);
}

int PlatformCurlSetConnectTimeout(PlatformCurl *curl, long seconds)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_CONNECTTIMEOUT, seconds);
}

int PlatformCurlSetIpResolveV4(PlatformCurl *curl)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_IPRESOLVE, static_cast<long>(CURL_IPRESOLVE_V4));
}

int PlatformCurlSetNoSignal(PlatformCurl *curl, long on)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_NOSIGNAL, on);
}

int PlatformCurlSetSslVerifyPeer(PlatformCurl *curl, long on)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_SSL_VERIFYPEER, on);
}

int PlatformCurlSetFailOnError(PlatformCurl *curl, long on)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_FAILONERROR, on);
}

int PlatformCurlSetWebOnly(PlatformCurl *curl, const char *url)
{
    int result = curl_easy_setopt(Easy(curl), CURLOPT_PROTOCOLS_STR, "http,https");
    if (result == CURLE_OK) {
        // The answer must not leave an encrypted connection.
        bool secure = url && strncasecmp(url, "https:", 6) == 0;
        result = curl_easy_setopt(Easy(curl), CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    }
    return result;
}

int PlatformCurlSetFollowRedirects(PlatformCurl *curl, long max_redirects)
{
    int result = curl_easy_setopt(Easy(curl), CURLOPT_FOLLOWLOCATION, 1L);
    if (result == CURLE_OK)
        result = curl_easy_setopt(Easy(curl), CURLOPT_MAXREDIRS, max_redirects);
    return result;
}

int PlatformCurlSetProgressFunction(PlatformCurl *curl, PlatformCurlProgressCB callback, void *object)
{
    static_assert(sizeof(curl_off_t) == sizeof(int64_t), "progress counts are 64-bit");
    int result = curl_easy_setopt(Easy(curl), CURLOPT_NOPROGRESS, 0L);
    if (result == CURLE_OK)
        result = curl_easy_setopt(Easy(curl), CURLOPT_XFERINFODATA, object);
    if (result == CURLE_OK) {
        curl_xferinfo_callback progress = callback;
        result = curl_easy_setopt(Easy(curl), CURLOPT_XFERINFOFUNCTION, progress);
    }
    return result;
}

int PlatformCurlSetPostFieldSize(PlatformCurl *curl, long size)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_POSTFIELDSIZE, size);
}

int PlatformCurlSetPostFields(PlatformCurl *curl, const void *data)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_POSTFIELDS, data);
}

int PlatformCurlSetPost(PlatformCurl *curl, long on)
{
    return curl_easy_setopt(Easy(curl), CURLOPT_POST, on);
}

int PlatformCurlPerform(PlatformCurl *curl)
{
    return curl_easy_perform(Easy(curl));
}

long PlatformCurlGetResponseCode(PlatformCurl *curl)
{
    long status = 0;
    if (curl_easy_getinfo(Easy(curl), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
        return 0;
    return status;
}

const char *PlatformCurlStrError(int code)
{
    return curl_easy_strerror(static_cast<CURLcode>(code));
}
