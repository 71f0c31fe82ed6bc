// The worker thread's reader over the internet library: connects on its first
// read and then hands out the body piece by piece. Used on the worker thread
// only.
#pragma once

#include "engine/net/EngInternetThread.h"
#include "platform/inet/WinInet.h"

class EngInternetThreadWorker;

class EngInternetThread_PC {
public:
    explicit EngInternetThread_PC(EngInternetThreadWorker *parent);
    ~EngInternetThread_PC();

    // Keeps a copy of url and the time-out for the connection; the next read
    // connects.
    bool PrepareForReading(const char *url, int timeout_seconds);
    // One step: the first call after PrepareForReading connects, the next
    // one primes the read, then each call reads one piece of up to size bytes
    // into buffer (*got bytes). In progress (1) until the end of the body,
    // which gives done (2) with nothing read; error (-2) on failure;
    // cancelled (-3), without a report, once the worker's abort flag is up.
    _EngInternetThreadReadResult ReadFromOpenStream(char *buffer, unsigned int size, unsigned int *got);
    void CloseConnection();

    EngInternetThread_PC(const EngInternetThread_PC &) = delete;
    EngInternetThread_PC &operator=(const EngInternetThread_PC &) = delete;

private:
    bool OpenConnectionToUrl(const char *url);
    void CheckError(const char *where, unsigned int code);

    EngInternetThreadWorker *m_parent;
    HINTERNET m_session;
    HINTERNET m_connection;
    DWORD m_timeout_ms;
    char *m_url;
    // 0 idle, 1 prepared (connect on the next read), 2 connected.
    char m_stage;
    // 0 nothing read yet, 1 reading, 2 end of data reached.
    char m_read_state;
};
