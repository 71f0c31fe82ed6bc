// Reading a web resource into memory on a worker thread while the main thread
// goes on: the main thread starts the read, polls its status each frame and
// takes a copy of the data once it is done. One worker per read.
//
// Requests go out with the client name "EngInternetThread_PC::PrepareForReading".
// An answer with an HTTP status of 400 or above (an error page) is an error,
// not data.
//
// The outcome of a read (done with its data, error, timed out) stays with the
// reader until it is destroyed or a new read starts, even after the worker
// thread has ended, so a caller that misses a few frames still learns it. A
// cancelled read turns to "none" once its worker has ended.
#pragma once

enum _EngInternetThreadReadResult : int {
    EITRR_CANCELLED = -3,
    EITRR_ERROR = -2,
    EITRR_TIMED_OUT = -1,
    EITRR_NONE = 0,
    EITRR_IN_PROGRESS = 1,
    EITRR_DONE = 2,
};

class EngInternetThreadWorker;

// Main thread only.
class EngInternetThread {
public:
    // name: at most 15 characters kept, used for the worker thread. verbosity:
    // 0 silent, 1 trace lines, 2 or more also a line per tick and piece.
    EngInternetThread(const char *name, char verbosity);
    ~EngInternetThread();

    // Ends any earlier read, then reads url: at most max_bytes - 1 bytes,
    // failing with a time-out after timeout_seconds (15 when 0 or less) for
    // the whole read, connecting included.
    bool StartReading(const char *url, unsigned int max_bytes, int timeout_seconds);
    // The read's state; while it is in progress, sleeps wait_seconds first
    // when that is above 0. -2 with "No thread." before any read.
    _EngInternetThreadReadResult GetReadingStatus(double wait_seconds);
    // Once the status is done: a terminated copy of the data, which the caller
    // frees with EngFree, and its length (length may be null). Else null.
    char *GetDataReadFreeWhenDone(unsigned int *length);
    // Marks a read in progress as cancelled and asks the worker to end.
    bool CancelReading();
    bool IsWorkerRunning();
    // Stops the worker (waiting for it) and deletes it with its data.
    void Destroy();

    EngInternetThread(const EngInternetThread &) = delete;
    EngInternetThread &operator=(const EngInternetThread &) = delete;

private:
    void WaitForThreadToExit();

    char m_name[16];
    char m_verbosity;
    EngInternetThreadWorker *m_worker;
};
