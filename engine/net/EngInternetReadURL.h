// Reading a web resource synchronously: connect, read the whole body into the
// caller's buffer, close. Also the small session, connection and error helpers
// that the threaded reader shares.
//
// The answer's HTTP status is never looked at: an error page is data like any
// other. Requests go out with the client name "EngInternetConnectAndReadURL".
#pragma once

#include "platform/inet/WinInet.h"

// The room a caller's error text needs, terminator included.
const unsigned int ENG_INTERNET_ERROR_TEXT_SIZE = 128;

// Whether a connection may be tried at all; always true on this platform.
bool EngInternetIsConnected();

// Reads url into buffer (at most size - 1 bytes, always terminated) and stores
// the count in *read when read is given. Size 0 only tests the connection.
//
// error_text, when given, receives "<error_prefix> - <reason>" on failure (the
// reason alone without a prefix) and is emptied on success. It must hold
// ENG_INTERNET_ERROR_TEXT_SIZE bytes: nothing longer is ever written, a
// prefix too long to leave room for the longest reason (43 characters)
// being cut.
//
// timeout_seconds bounds connecting and every send and receive, and the
// whole call, connecting included, except that 0 sets no limit for the read
// and the platform's defaults for each wait. A negative value means 10 s.
bool EngInternetReadURL(const char *url, char *buffer, unsigned int size, unsigned int *read, char *error_text,
                        const char *error_prefix, int timeout_seconds);
bool EngInternetConnectAndReadURL(const char *url, char *buffer, unsigned int size, unsigned int *read,
                                  char *error_text, const char *error_prefix, int timeout_seconds);

// A session sending agent as the client name; null (reported) on failure.
HINTERNET EngInternetInitSession(const char *agent);
// Opens url on the session, bypassing caches when reload is set. Our internet
// layer never shows a user interface, whatever allow_ui says.
HINTERNET EngInternetOpenConnectionToUrl(HINTERNET session, const char *url, char reload, char allow_ui);
// Reads the open resource from offset into buffer in pieces of up to 511
// bytes, keeping at most size - 1 bytes. A piece that would fill the buffer is
// dropped with a warning note and the read ends there, successfully. With a
// timeout_seconds other than 0, a read still going after that many seconds
// fails. *read gets the count kept.
bool EngInternetReadOpenUrl(HINTERNET connection, char *buffer, unsigned int size, unsigned int offset,
                            unsigned int *read, int timeout_seconds);
void EngInternetCloseHandle(HINTERNET handle);

// Reports an internet library error under where. Code 0 means the thread's
// last error, whose system text is logged first.
void EngInternetCheckError(const char *where, unsigned int code);
// The same report, naming file_where and file_text in the line of the system
// text; the threaded reader reports through it under its own names.
void EngInternetReportError(const char *where, unsigned int code, const char *file_where, const char *file_text);
