// The worker thread of one internet read. The main thread sets it up and
// polls it; the worker connects on its first ticks and then reads one piece
// per tick (every 0.1 s) into a buffer set aside for the whole answer.
//
// The status, the flags, the URL and buffer pointers and the byte count are
// shared with the main thread and change only under m_mutex. The network read
// itself runs without the mutex, into the part of the buffer beyond the bytes
// already counted, which the main side never reads. Nothing blocks while the
// mutex is held; should it still not be had within its 5 s (EngMutex reports
// it), the main side's queries answer as failed and the worker ends.
//
// A cancel or a stop also raises an abort flag that the network calls watch
// while they wait, so a server that accepts and never answers holds neither
// the worker nor the main thread waiting for it.
#pragma once

#include "engine/core/EngThread.h"
#include "engine/net/EngInternetThread.h"

#include <atomic>

class EngInternetThread_PC;

class EngInternetThreadWorker : public EngThread {
    // Cancelling and waiting for the end set the worker's request flags.
    friend class EngInternetThread;

public:
    EngInternetThreadWorker(const char *name, char verbosity);
    ~EngInternetThreadWorker() override;

    // Main thread: sets the read up and starts the thread. The deadline
    // (timeout_seconds from now, 15 when 0 or less) covers the whole read.
    bool Setup(const char *url, unsigned int max_bytes, int timeout_seconds);
    // Main thread: the status; a read in progress whose deadline has passed
    // counts as timed out even before the worker has noticed.
    _EngInternetThreadReadResult GetReadingStatus();
    // Main thread: a terminated copy of the data once the read is done.
    char *GetWorkerDataRead(unsigned int *length);
    // Raised by the main side when the worker is to end: the reader's
    // network calls watch it and give up within a fraction of a second.
    const std::atomic<bool> *GetAbortFlag() const { return &m_abort; }

protected:
    bool InitCB() override;
    bool TickCB() override;
    void ExitCB(bool destroying) override;

private:
    _EngInternetThreadReadResult ReadDataChunk();
    // Stores a result of the worker's own; a cancel, a time-out or an error
    // already stored stays. Called with the mutex held.
    void StoreStatus(_EngInternetThreadReadResult result);

    // The verbosity; the base class keeps its own copy to itself.
    char m_trace_level;
    EngInternetThread_PC *m_reader;
    EngMutex m_mutex;
    bool m_start_requested;
    bool m_cancel_requested;
    _EngInternetThreadReadResult m_status;
    char *m_url;
    // m_maximum + 1 bytes, always terminated after the bytes read.
    char *m_buffer;
    unsigned int m_bytes_read;
    unsigned int m_maximum;
    double m_deadline;
    int m_timeout_seconds;
    // Read without the mutex, by the network calls while they wait.
    std::atomic<bool> m_abort;
};
