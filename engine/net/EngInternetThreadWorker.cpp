#include "engine/net/EngInternetThreadWorker.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/net/EngInternetThread_PC.h"
#include "engine/runtime/EngMain.h"

#include <cstring>
#include <new>

namespace {

const int kDefaultTimeoutSeconds = 15;
const double kTickSleepSeconds = 0.1;
const double kMutexSeconds = 5;

// Each throttled trace line has one next time for all workers; the reporter
// checks and updates it under its own lock.
double next_chunk_trace = 0;
double next_chunks_trace = 0;

void TraceThrottled(double *next_time, const char *text)
{
    DebugInfoThrottled(next_time, 1.0, "%s", text);
}

} // namespace

EngInternetThreadWorker::EngInternetThreadWorker(const char *name, char verbosity)
    : EngThread(name, verbosity, 1), m_trace_level(verbosity), m_reader(nullptr), m_mutex(kMutexSeconds),
      m_start_requested(false), m_cancel_requested(false), m_status(EITRR_NONE), m_url(nullptr), m_buffer(nullptr),
      m_bytes_read(0), m_maximum(0), m_deadline(0), m_timeout_seconds(0), m_abort(false)
{
}

EngInternetThreadWorker::~EngInternetThreadWorker()
{
    // The thread uses the members below: it must have ended first.
    Destroy(true);
    delete m_reader;
    EngFree(m_buffer, 0, "EngInternetThreadWorker::~EngInternetThreadWorker");
    EngFree(m_url, 0, "EngInternetThreadWorker::~EngInternetThreadWorker");
}

bool EngInternetThreadWorker::Setup(const char *url, unsigned int max_bytes, int timeout_seconds)
{
    const char *where = "EngInternetThreadWorker::Setup";
    if (!m_mutex.Lock())
        return false;
    m_maximum = max_bytes;
    m_timeout_seconds = timeout_seconds > 0 ? timeout_seconds : kDefaultTimeoutSeconds;
    m_deadline = eng_main_program_time + m_timeout_seconds;

    EngFree(m_url, 0, where);
    m_url = EngMallocStringFromString(url, 1, where);
    if (!m_url) {
        m_mutex.Unlock();
        return false;
    }
    EngFree(m_buffer, 0, where);
    // The buffer holds the data and its terminator.
    m_buffer = m_maximum < 0xFFFFFFFFu ? static_cast<char *>(EngMalloc(m_maximum + 1, where, 1)) : nullptr;
    if (!m_buffer) {
        if (m_maximum == 0xFFFFFFFFu)
            DebugErrorCode(where, 'OMEM');
        EngFree(m_url, 0, where);
        m_url = nullptr;
        m_mutex.Unlock();
        return false;
    }
    m_bytes_read = 0;
    SetTickSleepTime(kTickSleepSeconds);
    m_start_requested = true;
    m_cancel_requested = false;
    m_abort = false;
    m_status = EITRR_IN_PROGRESS;

    // The first tick waits for the unlock below.
    if (!Create(nullptr)) {
        EngFree(m_buffer, 0, where);
        EngFree(m_url, 0, where);
        m_buffer = nullptr;
        m_url = nullptr;
        m_mutex.Unlock();
        return false;
    }
    m_mutex.Unlock();
    return true;
}

_EngInternetThreadReadResult EngInternetThreadWorker::GetReadingStatus()
{
    if (!m_mutex.Lock())
        return EITRR_ERROR;
    _EngInternetThreadReadResult status = m_status;
    double deadline = m_deadline;
    m_mutex.Unlock();
    if (status == EITRR_IN_PROGRESS && deadline <= eng_main_program_time) {
        if (m_trace_level)
            DebugInfo("ETW> Timeout reading data");
        return EITRR_TIMED_OUT;
    }
    return status;
}

char *EngInternetThreadWorker::GetWorkerDataRead(unsigned int *length)
{
    const char *where = "EngInternetThreadWorker::GetWorkerDataRead";
    if (length)
        *length = 0;
    if (!m_mutex.Lock())
        return nullptr;
    char *copy = nullptr;
    if (!m_buffer) {
        DebugError(where, "Not reading data");
    } else if (m_status == EITRR_IN_PROGRESS) {
        DebugError(where, "Reading has not finished");
    } else if (m_status == EITRR_DONE) {
        unsigned int n = m_bytes_read < m_maximum ? m_bytes_read : m_maximum - 1;
        copy = static_cast<char *>(EngMalloc(n + 1, where, 0));
        if (copy) {
            memcpy(copy, m_buffer, n);
            copy[n] = 0;
            if (length)
                *length = n;
        }
    } else {
        DebugError(where, "Reading did not complete ok");
    }
    m_mutex.Unlock();
    return copy;
}

bool EngInternetThreadWorker::InitCB()
{
    if (m_trace_level)
        DebugInfo("ETW> InitCB()");
    m_reader = new (std::nothrow) EngInternetThread_PC(this);
    if (!m_reader) {
        DebugErrorCode("EngInternetThreadWorker::InitCB", 'OMEM');
        return false;
    }
    return true;
}

bool EngInternetThreadWorker::TickCB()
{
    const char *where = "EngInternetThreadWorker::TickCB";
    if (m_trace_level >= 2)
        DebugInfo("ETW> TickCB()");
    if (!m_mutex.Lock())
        return false;
    if (!m_reader) {
        DebugErrorCode(where, 'NOSU');
        m_mutex.Unlock();
        return false;
    }
    if (m_cancel_requested) {
        if (m_trace_level)
            DebugInfo("ETW> Exiting thread...");
        m_mutex.Unlock();
        return false;
    }
    if (m_start_requested) {
        if (m_trace_level)
            DebugInfo("ETW> Starting reading...");
        m_start_requested = false;
        if (m_reader->PrepareForReading(m_url, m_timeout_seconds)) {
            if (m_trace_level)
                DebugInfo("ETW> Started reading.");
            m_mutex.Unlock();
            return true;
        }
        DebugError(where, "Could not prepare for reading.");
        StoreStatus(EITRR_ERROR);
        m_mutex.Unlock();
        return false;
    }
    if (m_status == EITRR_IN_PROGRESS) {
        if (EngMainUpdateProgramTime() >= m_deadline) {
            if (m_trace_level)
                DebugInfo("ETW> Timeout reading data (B)");
            StoreStatus(EITRR_TIMED_OUT);
            m_mutex.Unlock();
            return false;
        }
        if (m_trace_level)
            TraceThrottled(&next_chunk_trace, "ETW> Reading data chunk...");
        char *buffer = m_buffer;
        m_mutex.Unlock();

        _EngInternetThreadReadResult result = ReadDataChunk();

        if (!m_mutex.Lock())
            return false;
        if (m_buffer != buffer) {
            DebugError(where, "Class modified.");
            m_mutex.Unlock();
            return false;
        }
        StoreStatus(result);
        if (m_status == EITRR_IN_PROGRESS || m_status == EITRR_DONE) {
            m_mutex.Unlock();
            return true;
        }
        if (m_trace_level)
            DebugInfo("ETW> status is not in progress or done (%d) so returning 0.", m_status);
        m_mutex.Unlock();
        return false;
    }
    if (m_trace_level)
        DebugInfo("ETW> status is %d so returning 0.", m_status);
    m_mutex.Unlock();
    return false;
}

void EngInternetThreadWorker::ExitCB(bool)
{
    if (m_trace_level)
        DebugInfo("ETW> Exiting...");
    if (m_reader) {
        if (m_trace_level)
            DebugInfo("ETW> Destroying worker...");
        m_reader->CloseConnection();
        delete m_reader;
        m_reader = nullptr;
        if (m_trace_level)
            DebugInfo("ETW> Worker destroyed.");
    }
    if (m_mutex.Lock()) {
        const char *where = "EngInternetThreadWorker::ExitCB";
        EngFree(m_url, 0, where);
        m_url = nullptr;
        m_start_requested = false;
        // The outcome of the read stays for the main side, which may poll
        // only some frames later; finished data stays with it. A read that
        // was cancelled or stopped leaves nothing.
        if (m_status != EITRR_DONE) {
            EngFree(m_buffer, 0, where);
            m_buffer = nullptr;
            m_bytes_read = 0;
        }
        if (m_status != EITRR_DONE && m_status != EITRR_ERROR && m_status != EITRR_TIMED_OUT)
            m_status = EITRR_NONE;
        m_mutex.Unlock();
    }
    if (m_trace_level)
        DebugInfo("ETW> Exited.");
}

_EngInternetThreadReadResult EngInternetThreadWorker::ReadDataChunk()
{
    const char *where = "EngInternetThreadWorker::ReadDataChunk";
    if (!m_mutex.Lock())
        return EITRR_ERROR;
    if (!m_reader || !m_buffer || !m_url || !m_url[0]) {
        DebugError(where, "Not setup properly");
        m_mutex.Unlock();
        return EITRR_ERROR;
    }
    if (m_trace_level == 1)
        TraceThrottled(&next_chunks_trace, "ETW> Reading Data Chunks...");
    else if (m_trace_level >= 2)
        DebugInfo("ETW> Reading Data Chunk...");
    unsigned int remaining = m_maximum - m_bytes_read - 1;
    if (remaining == 0) {
        // Longer answers are cut here and count as complete.
        m_mutex.Unlock();
        return EITRR_DONE;
    }
    char *buffer = m_buffer;
    char *target = m_buffer + m_bytes_read;
    m_mutex.Unlock();

    // Only this thread writes beyond the bytes counted so far.
    memset(target, 0, remaining);
    unsigned int got = 0;
    _EngInternetThreadReadResult result = m_reader->ReadFromOpenStream(target, remaining, &got);

    if (!m_mutex.Lock())
        return EITRR_ERROR;
    if (!m_buffer || m_buffer != buffer) {
        DebugError(where, m_buffer ? "Class gone." : "No buffer anymore.");
        m_mutex.Unlock();
        return EITRR_ERROR;
    }
    if (m_trace_level >= 2)
        DebugInfo("ETW>     Read [%d] [%lu]", result, static_cast<unsigned long>(got));
    if (result == EITRR_IN_PROGRESS && m_deadline <= eng_main_program_time) {
        m_mutex.Unlock();
        return EITRR_TIMED_OUT;
    }
    if (result == EITRR_IN_PROGRESS || result == EITRR_DONE) {
        m_bytes_read += got;
        m_buffer[m_bytes_read] = 0;
        if (m_bytes_read >= m_maximum) {
            DebugErrorCode(where, 'IERR');
            result = EITRR_ERROR;
        }
    }
    m_mutex.Unlock();
    return result;
}

void EngInternetThreadWorker::StoreStatus(_EngInternetThreadReadResult result)
{
    if (m_status != EITRR_IN_PROGRESS)
        return;
    // Past the deadline the main side already answers "timed out"; a failure
    // now (typically the receive limit, which equals the deadline) stays that.
    if (result == EITRR_ERROR && m_deadline <= EngMainUpdateProgramTime())
        result = EITRR_TIMED_OUT;
    m_status = result;
}
