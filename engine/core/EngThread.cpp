#include "engine/core/EngThread.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "platform/win32/Win32Time.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>

namespace {

const int DEFAULT_TRIES = 1000;
const double WAIT_STEP = 0.1;
const double HOLD_STEP = 0.01;

// The EngThread whose worker runs on this thread, if any: tells the worker
// side from the main side.
thread_local const EngThread *current_worker = nullptr;

} // namespace

// ---------------------------------------------------------------------------
// EngMutex

EngMutex::EngMutex(double timeout_seconds) : m_handle(), m_setup(false), m_tries(DEFAULT_TRIES), m_holder(pthread_t())
{
    if (timeout_seconds > 0)
        Setup(timeout_seconds);
}

EngMutex::~EngMutex()
{
    if (m_setup)
        pthread_mutex_destroy(&m_handle);
}

void EngMutex::SetTimeout(double seconds)
{
    m_tries = seconds > 0 ? static_cast<int>(seconds * 1000) : DEFAULT_TRIES;
}

bool EngMutex::Setup(double seconds)
{
    if (m_setup) {
        DebugError("EngMutex::Setup", "Already setup.");
        return false;
    }
    if (seconds > 0)
        SetTimeout(seconds);
    m_setup = pthread_mutex_init(&m_handle, nullptr) == 0;
    return m_setup;
}

bool EngMutex::Lock()
{
    if (!m_setup) {
        DebugError("EngMutex::Lock", "Mutex not setup.");
        return false;
    }
    for (int tries = 0; tries < m_tries; tries++) {
        int result = pthread_mutex_trylock(&m_handle);
        if (result == 0) {
            m_holder = pthread_self();
            return true;
        }
        if (result == EBUSY)
            EngMiscSleep(0.001);
    }
    DebugError("EngMutex::Lock", "Could not lock mutex.");
    return false;
}

bool EngMutex::Unlock()
{
    if (!m_setup)
        return false;
    // Only the thread holding the lock may release it; only that thread
    // ever stores its own id here, so another thread never sees a match.
    if (!pthread_equal(m_holder, pthread_self())) {
        DebugError("EngMutex::Unlock", "Could not unlock mutex.");
        return false;
    }
    m_holder = pthread_t();
    return pthread_mutex_unlock(&m_handle) == 0;
}

// ---------------------------------------------------------------------------
// EngThread

EngThread::EngThread(const char *name, char verbosity, char flag)
    : m_verbosity(verbosity), m_name(), m_flag(flag != 0), m_tick_sleep_ms(1), m_tick_callback(nullptr),
      m_tick_user_data(nullptr), m_exit_callback(nullptr), m_exit_user_data(nullptr), m_max_mutex_hold_time(30),
      m_mutex_wait_limit(30), m_next_status_time(0), m_state(0), m_main_has_mutex(false),
      m_worker_has_mutex(false), m_main_holds(0), m_reported_hold(0), m_init_requested(false), m_exit_requested(false), m_finished(false),
      m_destroying(false), m_thread_started(false), m_thread(), m_mutex(), m_mutex_exists(false)
{
    if (name)
        EngSafeStrcpy(m_name, name, sizeof(m_name));
    ResetVars();
    if (m_verbosity == 2)
        Trace(2, "Thread %s> Constructed.%s", m_name, "");
}

EngThread::~EngThread()
{
    Trace(2, "Thread %s> Destructed.%s", m_name, "");
    Destroy(true);
}

void EngThread::Trace(int min_verbosity, const char *format, ...) const
{
    if (m_verbosity < min_verbosity)
        return;
    char text[DEBUG_MESSAGE_SIZE];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    DebugInfoQuickAlt("EngThread", "%s", text);
}

void EngThread::Print(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void EngThread::ResetVars()
{
    m_next_status_time = 0;
    m_state = 0;
    m_main_has_mutex = false;
    m_worker_has_mutex = false;
    m_main_holds = 0;
    m_reported_hold = 0;
    m_init_requested = false;
    m_exit_requested = false;
    m_finished = false;
    m_destroying = false;
    m_thread_started = false;
    m_thread = pthread_t();
    m_mutex = pthread_mutex_t();
    m_mutex_exists = false;
    Trace(2, "Thread %s> Vars reset.%s", m_name, "");
}

void EngThread::SetTickSleepTime(double seconds)
{
    m_tick_sleep_ms = seconds > 0 ? static_cast<unsigned>(seconds * 1000) : 0;
}

void EngThread::SetTickCallback(EngThreadTickCallback callback, void *user_data)
{
    m_tick_callback = callback;
    m_tick_user_data = user_data;
}

void EngThread::SetExitCallback(EngThreadExitCallback callback, void *user_data)
{
    m_exit_callback = callback;
    m_exit_user_data = user_data;
}

void EngThread::SetMaxMutexHoldTime(double seconds)
{
    m_max_mutex_hold_time = seconds > 0 ? seconds : 0;
}

void EngThread::SetMutexWaitLimit(double seconds)
{
    m_mutex_wait_limit = seconds > 0 ? seconds : 0;
}

bool EngThread::InitCB()
{
    return true;
}

bool EngThread::TickCB()
{
    return m_tick_callback ? m_tick_callback(m_tick_user_data) : true;
}

void EngThread::ExitCB(bool)
{
    if (m_exit_callback)
        m_exit_callback(m_exit_user_data);
}

bool EngThread::IsWorkerSide() const
{
    return current_worker == this;
}

std::atomic<bool> &EngThread::OwnHold()
{
    return IsWorkerSide() ? m_worker_has_mutex : m_main_has_mutex;
}

const std::atomic<bool> &EngThread::OwnHold() const
{
    return IsWorkerSide() ? m_worker_has_mutex : m_main_has_mutex;
}

bool EngThread::Create(const char *name)
{
    const char *where = "EngThread::Create";
    Trace(1, "Thread %s> Create thread: Starting...%s", m_name, "");
    if (m_state != 0) {
        DebugError(where, "Already Initialsed [%d]", static_cast<int>(m_state));
        Destroy(true);
    }
    // Renamed only once no worker is left to read the name.
    if (name)
        EngSafeStrcpy(m_name, name, sizeof(m_name));

    if (pthread_mutex_init(&m_mutex, nullptr) != 0) {
        DebugError(where, "pthread_mutex_init() failed");
        return false;
    }
    m_mutex_exists = true;
    Trace(2, "Thread %s> Create thread: Part 1%s", m_name, "");

    m_state = 1;
    if (pthread_create(&m_thread, nullptr, ProcessThread, this) != 0) {
        DebugError(where, "pthread_create() failed");
        m_mutex_exists = false;
        pthread_mutex_destroy(&m_mutex);
        m_state = 0;
        return false;
    }
    m_thread_started = true;
    Trace(2, "Thread %s> Create thread: Part 2%s", m_name, "");

    WaitForMutex();
    m_finished = false;
    m_init_requested = true;
    DoneWithMutex();
    Trace(2, "Thread %s> Create thread: Part 3%s", m_name, "");

    m_state = 2;
    Trace(2, "Thread %s> Created.%s", m_name, "");
    Trace(1, "Thread %s> Create thread: Done.%s", m_name, "");
    return true;
}

bool EngThread::WaitForMutex()
{
    const char *fail = "Error: EngThread::WaitForMutex - ";
    std::atomic<bool> &own_hold = OwnHold();
    if (m_state == 0) {
        Print("%sThread not setup\n", fail);
        return false;
    }
    if (own_hold) {
        Print("%sAlready have mutex\n", fail);
        return false;
    }
    if (!m_mutex_exists) {
        Print("%sNo mutex\n", fail);
        return false;
    }
    Trace(4, "Thread %s> Wait for mutex: Starting...%s", m_name, "");

    bool locked = false;
    double limit = m_mutex_wait_limit;
    for (double waited = 0; waited < limit && !locked; waited += WAIT_STEP) {
        if (!m_mutex_exists) {
            Print("%sNo mutex exists\n", fail);
            return false;
        }
        int result = pthread_mutex_trylock(&m_mutex);
        if (result == 0) {
            locked = true;
        } else {
            if (result == EINVAL)
                Print("%sMutex is invalid\n", fail);
            else if (result != EBUSY)
                Print("%sUnexpected result from wait: %d\n", fail, result);
            EngMiscSleep(WAIT_STEP);
        }
        Trace(4, "Thread %s> Wait for mutex: Waiting... [%.1f]%s", m_name, waited + WAIT_STEP, "");
    }
    if (!locked) {
        Print(m_mutex_exists ? "%sWait timed-out\n" : "%sNo mutex exists\n", fail);
        return false;
    }
    own_hold = true;
    if (!IsWorkerSide())
        m_main_holds++;
    Trace(4, "Thread %s> Wait for mutex: Done.%s", m_name, "");
    return true;
}

void EngThread::DoneWithMutex()
{
    const char *where = "EngThread::DoneWithMutex";
    std::atomic<bool> &own_hold = OwnHold();
    if (m_state == 0) {
        DebugErrorNoLog(where, "Thread not setup");
        return;
    }
    if (!own_hold) {
        DebugErrorNoLog(where, "Don't have mutex");
        return;
    }
    if (!m_mutex_exists) {
        DebugErrorNoLog(where, "No mutex.");
        return;
    }
    Trace(4, "Thread %s> Release mutex: Starting...%s", m_name, "");
    pthread_mutex_unlock(&m_mutex);
    own_hold = false;
    Trace(4, "Thread %s> Release mutex: Done.%s", m_name, "");
}

bool EngThread::HaveMutex() const
{
    return m_state != 0 && OwnHold();
}

const char *EngThread::GetName() const
{
    return m_name;
}

bool EngThread::IsStillRunning()
{
    if (m_state == 0)
        return false;
    if (!m_finished)
        return true;
    Destroy(true);
    return false;
}

void EngThread::Destroy(char wait)
{
    Trace(1, "Thread %s> Destroy [ w:%d, i:%d, e:%d ] : Starting...%s", m_name, wait, static_cast<int>(m_state),
          static_cast<int>(m_destroying), "");
    if (m_state != 0 && !m_destroying && m_thread_started) {
        if (HaveMutex())
            DoneWithMutex();
        WaitForMutex();
        m_exit_requested = true;
        m_destroying = true;
        DoneWithMutex();
        Trace(1, "Thread %s> Destroy: Waiting for thread to end...%s", m_name, "");
    }
    if (m_state >= 1 && m_thread_started) {
        // No time limit: the worker ends once its current TickCB returns.
        bool done = false;
        int loops = 0;
        while (true) {
            bool have = WaitForMutex();
            done = m_finished;
            if (have)
                DoneWithMutex();
            if (done)
                break;
            EngMiscSleep(HOLD_STEP);
            loops++;
            if (loops % 100 == 0)
                Trace(1, "Thread %s> Destroy: Waiting... [%d]%s", m_name, loops / 100, "");
        }
        Trace(1, "Thread %s> Destroy: Done waiting [done: %d, loops: %d].%s", m_name, done, loops, "");
    }
    if (m_thread_started) {
        // The worker returns right after setting the finished flag.
        pthread_join(m_thread, nullptr);
        m_thread_started = false;
    }
    if (m_mutex_exists) {
        m_mutex_exists = false;
        pthread_mutex_destroy(&m_mutex);
    }
    ResetVars();
    Trace(1, "Thread %s> Destroy: Done.%s", m_name, "");
}

void *EngThread::ProcessThread(void *object)
{
    auto *thread = static_cast<EngThread *>(object);
    if (!thread || (thread->m_state != 1 && thread->m_state != 2)) {
        DebugErrorNoLog("EngThread::ProcessThread", "Invalid pointer");
        if (thread)
            thread->m_finished = true;
        return nullptr;
    }
    current_worker = thread;
    return thread->DoThreadMain();
}

void *EngThread::EndWorkerEarly(char check)
{
    DebugErrorNoLog("EngThread::DoThreadMain", "Thread not initialised (%c) (%d)", check, static_cast<int>(m_state));
    // Released directly: DoneWithMutex refuses while the state is 0.
    if (m_worker_has_mutex) {
        pthread_mutex_unlock(&m_mutex);
        m_worker_has_mutex = false;
    }
    m_finished = true;
    return nullptr;
}

void *EngThread::DoThreadMain()
{
    while (true) {
        // 1. Status line.
        if (m_verbosity >= 3 && eng_main_program_time > m_next_status_time) {
            Trace(3, "Thread %s> Loop [ it: %d  hm: %d  imw: %d emw: %d", m_name, static_cast<int>(m_state),
                  static_cast<int>(m_main_has_mutex), static_cast<int>(m_init_requested),
                  static_cast<int>(m_exit_requested));
            m_next_status_time = eng_main_program_time + 2;
        }
        if (m_state != 1 && m_state != 2)
            return EndWorkerEarly('A');

        // 2. While the main side holds the mutex, wait up to the hold limit,
        // once per hold: a hold already reported is not waited for again.
        unsigned hold = m_main_holds;
        if (m_main_has_mutex && hold != m_reported_hold) {
            Trace(2, "THREAD: Waiting for mutex to be free...");
            double max_hold = m_max_mutex_hold_time;
            int steps = 0;
            while (m_main_has_mutex && steps * HOLD_STEP < max_hold) {
                EngMiscSleep(HOLD_STEP);
                steps++;
                if (steps % 10 == 0)
                    Trace(1, "THREAD: Waiting for mutex to be free [%.1f]%s", steps * HOLD_STEP, "");
            }
            if (m_main_has_mutex && m_main_holds == hold) {
                // Only the main side can release its own hold; the worker
                // stops waiting and its next wait for the mutex is bounded.
                m_reported_hold = hold;
                Print("Error:  EngThread::DoThreadMain:Mutex - mutex locked for longer than max time allowed\n");
                Print("Error:  EngThread::DoThreadMain:Mutex - forcing free\n");
            }
        }
        if (m_state != 1 && m_state != 2)
            return EndWorkerEarly('B');

        // 3. Requests from the main side, handled holding the mutex.
        if (m_init_requested || m_exit_requested) {
            WaitForMutex();
            if (m_state != 1 && m_state != 2)
                return EndWorkerEarly('C');
            if (m_init_requested) {
                m_init_requested = false;
                Trace(1, "Thread %s> Init: Starting...%s", m_name, "");
                DoneWithMutex();
                if (!InitCB()) {
                    WaitForMutex();
                    m_exit_requested = true;
                    DoneWithMutex();
                    Trace(1, "Thread %s> InitCB() returned 0 => Exiting.%s", m_name, "");
                }
                WaitForMutex();
                Trace(1, "Thread %s> Init: Done.%s", m_name, "");
            }
            if (m_exit_requested)
                break;
            if (HaveMutex())
                DoneWithMutex();
        }

        // 4. One tick once running.
        if (m_state == 2 && !m_init_requested && !m_exit_requested) {
            if (!TickCB()) {
                m_exit_requested = true;
                Trace(1, "Thread %s> TickCB(MWin *mwinp) returned 0 => Exiting.%s", m_name, "");
            }
            unsigned sleep_ms = m_tick_sleep_ms;
            if (!m_exit_requested && sleep_ms > 0)
                Sleep(sleep_ms);
        }
    }

    // 5. Exit, entered holding the mutex.
    m_exit_requested = false;
    Trace(1, "Thread %s> Exit: Starting...%s", m_name, "");
    DoneWithMutex();
    ExitCB(m_destroying);
    WaitForMutex();
    m_finished = true;
    DoneWithMutex();
    Trace(1, "Thread %s> Exit: Done.%s", m_name, "");
    return nullptr;
}
