// libcurl's easy interface behind typed calls, so that code outside the
// platform layer never sees libcurl's variadic option setter (whose argument
// types the compiler cannot check) nor its headers. Each setter passes the
// type libcurl expects for its option (long for numbers and switches).
//
// Every call returns libcurl's own result code (0 for success, the codes
// below for the failures callers tell apart); nothing is reported here.
// Certificates and host names are verified unless a caller turns it off,
// and no caller does.
#pragma once

#include <cstddef>
#include <cstdint>

// An easy handle; opaque outside this file pair.
struct PlatformCurl;

// The result codes callers look at; any other non-zero code is a failure too.
enum {
    PLATFORM_CURL_OK = 0,
    PLATFORM_CURL_UNSUPPORTED_PROTOCOL = 1,
    PLATFORM_CURL_COULDNT_RESOLVE_HOST = 6,
    PLATFORM_CURL_COULDNT_CONNECT = 7,
    PLATFORM_CURL_HTTP_RETURNED_ERROR = 22,
    PLATFORM_CURL_WRITE_ERROR = 23,
    PLATFORM_CURL_OPERATION_TIMEDOUT = 28,
    PLATFORM_CURL_ABORTED_BY_CALLBACK = 42,
    PLATFORM_CURL_TOO_MANY_REDIRECTS = 47,
};

// Receives size x count bytes of the answer; returning fewer ends the
// transfer with PLATFORM_CURL_WRITE_ERROR.
typedef size_t (*PlatformCurlWriteCB)(char *data, size_t size, size_t count, void *object);

// Told the bytes to download (0 while unknown) and received so far, and the
// same for the upload; returning non-zero ends the transfer with
// PLATFORM_CURL_ABORTED_BY_CALLBACK.
typedef int (*PlatformCurlProgressCB)(void *object, int64_t total, int64_t now, int64_t up_total, int64_t up_now);

// The process-wide set-up with every feature (CURL_GLOBAL_ALL), and its end.
int PlatformCurlGlobalInit();
void PlatformCurlGlobalCleanup();

// A new easy handle, or null; the caller ends it with PlatformCurlEasyCleanup.
PlatformCurl *PlatformCurlEasyInit();
// Tests trust the certificates in file (PEM), in place of the system's, so
// a loopback server with its own certificate can serve https to the handles
// made from now on; null ends it.
void PlatformCurlSetCaFileForTests(const char *file);
void PlatformCurlEasyCleanup(PlatformCurl *curl);

int PlatformCurlSetWriteData(PlatformCurl *curl, void *object);
int PlatformCurlSetWriteFunction(PlatformCurl *curl, PlatformCurlWriteCB callback);
// The text is copied.
int PlatformCurlSetUrl(PlatformCurl *curl, const char *url);
// Whole seconds; 0 means no limit.
int PlatformCurlSetTimeout(PlatformCurl *curl, long seconds);
int PlatformCurlSetConnectTimeout(PlatformCurl *curl, long seconds);
// Resolve host names to IPv4 addresses only.
int PlatformCurlSetIpResolveV4(PlatformCurl *curl);
// Time-outs without signals, as transfers also run on worker threads.
int PlatformCurlSetNoSignal(PlatformCurl *curl, long on);
int PlatformCurlSetSslVerifyPeer(PlatformCurl *curl, long on);
// An HTTP status of 400 or above fails with PLATFORM_CURL_HTTP_RETURNED_ERROR.
int PlatformCurlSetFailOnError(PlatformCurl *curl, long on);
// Web links only: the transfer and every redirect may use http and https
// alone, and a transfer that starts on https may be redirected to https
// alone. Other links fail with PLATFORM_CURL_UNSUPPORTED_PROTOCOL before any
// request. Call it after PlatformCurlSetUrl with the same url.
int PlatformCurlSetWebOnly(PlatformCurl *curl, const char *url);
// Follows at most max_redirects redirects (within what SetWebOnly allows);
// one more fails with PLATFORM_CURL_TOO_MANY_REDIRECTS.
int PlatformCurlSetFollowRedirects(PlatformCurl *curl, long max_redirects);
// Turns progress reports on and sends them to callback with object.
int PlatformCurlSetProgressFunction(PlatformCurl *curl, PlatformCurlProgressCB callback, void *object);
int PlatformCurlSetPostFieldSize(PlatformCurl *curl, long size);
// Not copied: the data must stay alive until PlatformCurlPerform returns.
int PlatformCurlSetPostFields(PlatformCurl *curl, const void *data);
int PlatformCurlSetPost(PlatformCurl *curl, long on);

// Runs the transfer; blocks until it ends.
int PlatformCurlPerform(PlatformCurl *curl);
// The HTTP status of the last answer received (after redirects), 0 when none.
long PlatformCurlGetResponseCode(PlatformCurl *curl);
// libcurl's text for one of its result codes.
const char *PlatformCurlStrError(int code);
