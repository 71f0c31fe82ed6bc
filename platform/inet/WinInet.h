// The internet library subset the engine reads web resources with: a session,
// a URL opened on it (an HTTP or HTTPS GET), and the body read in pieces.
// Backed by libcurl.
//
// Behaviour:
// - Direct connections only, never through a proxy. Redirects are followed
//   (at most 10); certificates and host names are always verified.
// - The answer's HTTP status is not examined: an error page is a body like
//   any other. A caller that cares asks for it with HttpQueryInfoA.
// - Every blocking call has a time limit taken from the time-out options
//   (milliseconds). A time-out of 0, or one never set, means the default:
//   60 s to connect, 30 s to send or receive. Opening a URL may take up to
//   connect + send + receive; each read waits up to the receive time-out for
//   its first byte. A session may also be given a time limit for the whole
//   of each URL opened on it, which ends the open and every later read.
// - A read returns as soon as some data is there: up to the requested size,
//   not necessarily all of it. A read of 0 bytes that succeeds is the end of
//   the body.
// - Failures return FALSE (or a null handle) and set the calling thread's last
//   error (GetLastError) to one of the codes below; InternetFormatErrorMessage
//   gives its text. Failures that have no code
//   of their own give ERROR_INTERNET_EXTENDED_ERROR, and the detail is then
//   the thread's last response info.
// - Handles are used by one thread at a time. A URL handle copies the time-outs,
//   the agent and the abort flag of its session when it is opened and lives on
//   its own: close both.
// - A session may be given an abort flag that another thread raises: every
//   blocking call on it or its URL handles then ends within about a tenth of a
//   second, failing with ERROR_INTERNET_OPERATION_CANCELLED.
// - A redirect may not lead from https to http: it fails with
//   ERROR_HTTP_REDIRECT_FAILED.
#pragma once

#include "platform/win32/Win32Types.h"

#include <atomic>

typedef void *HINTERNET;
typedef uintptr_t DWORD_PTR;

// Access types of InternetOpenA; only direct access is supported.
#define INTERNET_OPEN_TYPE_DIRECT 1

// Flags of InternetOpenUrlA. There is no local cache: every open reloads;
// RELOAD also asks caches on the way not to answer.
#define INTERNET_FLAG_RELOAD 0x80000000u
#define INTERNET_FLAG_RESYNCHRONIZE 0x00000800u
#define INTERNET_FLAG_NO_UI 0x00000200u

// Options of InternetSetOptionA: a DWORD of milliseconds.
#define INTERNET_OPTION_CONNECT_TIMEOUT 2
#define INTERNET_OPTION_SEND_TIMEOUT 5
#define INTERNET_OPTION_RECEIVE_TIMEOUT 6

// InternetSetFilePointer.
#define FILE_BEGIN 0
#define INVALID_SET_FILE_POINTER ((DWORD)-1)

// Error codes.
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INTERNET_TIMEOUT 12002
#define ERROR_INTERNET_EXTENDED_ERROR 12003
#define ERROR_INTERNET_INVALID_URL 12005
#define ERROR_INTERNET_UNRECOGNIZED_SCHEME 12006
#define ERROR_INTERNET_NAME_NOT_RESOLVED 12007
#define ERROR_INTERNET_INVALID_OPTION 12009
#define ERROR_INTERNET_INVALID_OPERATION 12016
#define ERROR_INTERNET_OPERATION_CANCELLED 12017
#define ERROR_INTERNET_CANNOT_CONNECT 12029
#define ERROR_INTERNET_CONNECTION_ABORTED 12030
#define ERROR_INTERNET_CONNECTION_RESET 12031
#define ERROR_INTERNET_INVALID_CA 12045
#define ERROR_HTTP_INVALID_SERVER_RESPONSE 12152
#define ERROR_HTTP_REDIRECT_FAILED 12156

// A session: the client name sent with every request, and the time-outs its
// URL handles start with. flags must be 0.
HINTERNET InternetOpenA(const char *agent, DWORD access_type, const char *proxy, const char *proxy_bypass,
                        DWORD flags);

// Sets a time-out option on a session or URL handle; value points to a DWORD
// and length is its size. Other options fail with ERROR_INTERNET_INVALID_OPTION.
BOOL InternetSetOptionA(HINTERNET handle, DWORD option, void *value, DWORD length);

// Gives the session the flag that aborts its transfers once it is true (null:
// none). The flag must outlive the session and the URL handles opened on it.
BOOL PlatformInternetSetAbortFlag(HINTERNET session, const std::atomic<bool> *abort);

// Limits each URL opened on the session, from the start of its open to its
// last read, to ms milliseconds (0: no limit): a call still waiting then
// fails with ERROR_INTERNET_TIMEOUT.
BOOL PlatformInternetSetTimeLimit(HINTERNET session, DWORD ms);

// Tests trust the certificates in file (PEM) besides the system's, so a
// loopback server with its own certificate can serve https; null ends it.
void PlatformInternetSetCaFileForTests(const char *file);

// Sends a GET for url and waits for the answer's headers (after redirects).
// headers must be null (or length 0); context is not used.
HINTERNET InternetOpenUrlA(HINTERNET session, const char *url, const char *headers, DWORD headers_length,
                           DWORD flags, DWORD_PTR context);

// HttpQueryInfoA: only the status of the answer (after redirects), as a
// number: HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER into a DWORD.
#define HTTP_QUERY_STATUS_CODE 19
#define HTTP_QUERY_FLAG_NUMBER 0x20000000u
BOOL HttpQueryInfoA(HINTERNET url_handle, DWORD info_level, void *buffer, DWORD *buffer_length, DWORD *index);

// Reads up to to_read bytes of the body; *read = 0 with TRUE at its end.
BOOL InternetReadFile(HINTERNET url_handle, void *buffer, DWORD to_read, DWORD *read);

// Waits, like a read, until body bytes are there or the body has ended, and
// gives the count ready to be read without waiting. flags and context must be 0.
BOOL InternetQueryDataAvailable(HINTERNET url_handle, DWORD *available, DWORD flags, DWORD_PTR context);

// The body can be read only forward: moving to the current position (from the
// start, FILE_BEGIN) succeeds and returns it; anything else fails with
// INVALID_SET_FILE_POINTER and ERROR_INTERNET_INVALID_OPERATION.
DWORD InternetSetFilePointer(HINTERNET url_handle, LONG distance, LONG *distance_high, DWORD method,
                             DWORD_PTR context);

// Closes a session or URL handle; FALSE (ERROR_INVALID_HANDLE) for null or
// anything else.
BOOL InternetCloseHandle(HINTERNET handle);

// The detail text of this thread's last ERROR_INTERNET_EXTENDED_ERROR. No
// text: TRUE with *length 0. A null buffer or one too small: FALSE with
// ERROR_INSUFFICIENT_BUFFER and *length the size needed, terminator included.
// Otherwise the text is copied, *length is its length and *error its code.
BOOL InternetGetLastResponseInfoA(DWORD *error, char *buffer, DWORD *length);

// The library's message text for one of its error codes (the codes above),
// copied into buffer (cut to size - 1 characters). Returns the number of
// characters copied, 0 for a code that has no text.
DWORD InternetFormatErrorMessage(DWORD code, char *buffer, DWORD size);
