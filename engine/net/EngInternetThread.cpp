#include "engine/net/EngInternetThread.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/net/EngInternetThreadWorker.h"
#include "engine/runtime/EngMain.h"

#include <new>

namespace {

// How long Destroy waits for a worker to notice that it is to end. The abort
// flag ends the worker's network calls within a fraction of a second; this
// only bounds a worker that is stuck elsewhere.
const double kExitWaitSeconds = 180;
const double kExitPollSeconds = 0.1;

double next_wait_trace = 0;

} // namespace

EngInternetThread::EngInternetThread(const char *name, char verbosity)
    : m_name(), m_verbosity(verbosity), m_worker(nullptr)
{
    if (name)
        EngSafeStrcpy(m_name, name, sizeof(m_name));
}

EngInternetThread::~EngInternetThread()
{
    Destroy();
}

bool EngInternetThread::StartReading(const char *url, unsigned int max_bytes, int timeout_seconds)
{
    const char *where = "EngInternetThread::StartReading";
    if (m_verbosity)
        DebugInfo("EIT> StartReading...");
    Destroy();
    if (!url || !url[0] || max_bytes == 0) {
        DebugError(where, "Parameters Error");
        return false;
    }
    m_worker = new (std::nothrow) EngInternetThreadWorker(m_name, m_verbosity);
    if (!m_worker) {
        DebugErrorCode(where, 'OMEM');
        return false;
    }
    if (!m_worker->Setup(url, max_bytes, timeout_seconds)) {
        DebugError(where, "Setup failed.");
        delete m_worker;
        m_worker = nullptr;
        return false;
    }
    return true;
}

_EngInternetThreadReadResult EngInternetThread::GetReadingStatus(double wait_seconds)
{
    if (!m_worker) {
        DebugError("EngInternetThread::GetReadingStatus", "No thread.");
        return EITRR_ERROR;
    }
    _EngInternetThreadReadResult status = m_worker->GetReadingStatus();
    if (status == EITRR_IN_PROGRESS && wait_seconds > 0)
        EngMiscSleep(wait_seconds);
    return status;
}

char *EngInternetThread::GetDataReadFreeWhenDone(unsigned int *length)
{
    const char *where = "EngInternetThread::GetDataReadFreeWhenDone";
    if (length)
        *length = 0;
    if (!m_worker) {
        DebugError(where, "No thread");
        return nullptr;
    }
    switch (m_worker->GetReadingStatus()) {
    case EITRR_IN_PROGRESS:
        DebugError(where, "Reading has not finished");
        return nullptr;
    case EITRR_DONE:
        return m_worker->GetWorkerDataRead(length);
    default:
        DebugError(where, "Reading did not complete ok");
        return nullptr;
    }
}

bool EngInternetThread::CancelReading()
{
    if (!m_worker)
        return true;
    if (m_verbosity)
        DebugInfo("EIT> CancelReading().");
    // First, so a network call the worker is waiting in ends at once.
    m_worker->m_abort = true;
    if (m_worker->m_mutex.Lock()) {
        if (m_worker->m_status == EITRR_IN_PROGRESS)
            m_worker->m_status = EITRR_CANCELLED;
        m_worker->m_cancel_requested = true;
        m_worker->m_mutex.Unlock();
    }
    return true;
}

bool EngInternetThread::IsWorkerRunning()
{
    return m_worker && m_worker->IsStillRunning();
}

void EngInternetThread::Destroy()
{
    if (m_verbosity)
        DebugInfo("EIT> Destroy() ...");
    WaitForThreadToExit();
    if (m_worker) {
        m_worker->Destroy(true);
        delete m_worker;
        m_worker = nullptr;
    }
    if (m_verbosity)
        DebugInfo("EIT> Destroy() done.");
}

void EngInternetThread::WaitForThreadToExit()
{
    if (!m_worker)
        return;
    m_worker->m_abort = true;
    if (m_worker->m_mutex.Lock()) {
        m_worker->m_cancel_requested = true;
        m_worker->m_mutex.Unlock();
    }
    double limit = EngMainUpdateProgramTime() + kExitWaitSeconds;
    while (m_worker->IsStillRunning() && EngMainUpdateProgramTime() < limit) {
        EngMiscSleep(kExitPollSeconds);
        if (m_verbosity)
            DebugInfoThrottled(&next_wait_trace, 1.0, "EIT> Waiting for worker to finish [%.1f] ...",
                               eng_main_program_time.load());
    }
    if (m_worker->IsStillRunning())
        DebugError("EngInternetThread::WaitForThreadToExit", "Worker did not finish.");
}
