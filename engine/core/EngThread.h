// A mutex whose lock gives up after a time limit, and a worker thread that
// runs InitCB once, then TickCB pass by pass until it answers false or the
// main side asks it to stop, then ExitCB.
//
// The main side and the worker hand control over through one mutex and a few
// request flags. Each side keeps its own record of holding the mutex, so a
// side only ever releases a hold it took itself; the flags the other side
// polls are atomic.
#pragma once

#include <pthread.h>

#include <atomic>

class EngMutex {
public:
    // Sets up at once when timeout_seconds is above 0.
    explicit EngMutex(double timeout_seconds = 0);
    ~EngMutex();
    EngMutex(const EngMutex &) = delete;
    EngMutex &operator=(const EngMutex &) = delete;

    // One lock try per millisecond of seconds; 1000 for 0 or less.
    void SetTimeout(double seconds);
    bool Setup(double seconds);
    // Tries the lock until the time limit; a thread that already holds it
    // fails too (not recursive).
    bool Lock();
    bool Unlock();

private:
    pthread_mutex_t m_handle;
    bool m_setup;
    int m_tries;
    // The thread holding the lock; zero when free.
    std::atomic<pthread_t> m_holder;
};

typedef bool (*EngThreadTickCallback)(void *user_data);
typedef void (*EngThreadExitCallback)(void *user_data);

class EngThread {
public:
    // verbosity 0..4 selects the trace lines; name is cut to 15 characters;
    // flag is kept as given (the thread itself does not read it).
    EngThread(const char *name, char verbosity, char flag);
    // Stops a worker that still runs. A subclass whose callbacks use its own
    // members must call Destroy in its own destructor, before they are gone.
    virtual ~EngThread();
    EngThread(const EngThread &) = delete;
    EngThread &operator=(const EngThread &) = delete;

    // Settings; change them before Create.
    void SetTickSleepTime(double seconds);
    void SetTickCallback(EngThreadTickCallback callback, void *user_data);
    void SetExitCallback(EngThreadExitCallback callback, void *user_data);
    void SetMaxMutexHoldTime(double seconds);
    void SetMutexWaitLimit(double seconds);

    // Starts the worker; a worker that still runs is destroyed first.
    bool Create(const char *name);
    // Takes the hand-off mutex for the calling side (the worker when called
    // from the worker thread, else the main side); HaveMutex and
    // DoneWithMutex answer for the calling side too.
    bool WaitForMutex();
    void DoneWithMutex();
    bool HaveMutex() const;
    const char *GetName() const;
    // False once the worker has finished, which also destroys it.
    bool IsStillRunning();
    // Asks a running worker to exit, waits until it has run ExitCB, joins it
    // and resets the object, which may then be created again. Main side only.
    void Destroy(char wait);

protected:
    // All three run on the worker thread without the mutex held. False from
    // InitCB or TickCB ends the worker.
    virtual bool InitCB();
    virtual bool TickCB();
    virtual void ExitCB(bool destroying);

private:
    static void *ProcessThread(void *object);
    void *DoThreadMain();
    // Leaves the worker loop when the state is unexpected: releases the
    // worker's hold and lets Destroy join the thread.
    void *EndWorkerEarly(char check);
    void ResetVars();
    bool IsWorkerSide() const;
    std::atomic<bool> &OwnHold();
    const std::atomic<bool> &OwnHold() const;
    void Trace(int min_verbosity, const char *format, ...) const __attribute__((format(printf, 3, 4)));
    static void Print(const char *format, ...) __attribute__((format(printf, 1, 2)));

    signed char m_verbosity;
    char m_name[16];
    [[maybe_unused]] bool m_flag;
    std::atomic<unsigned> m_tick_sleep_ms;
    EngThreadTickCallback m_tick_callback;
    void *m_tick_user_data;
    EngThreadExitCallback m_exit_callback;
    void *m_exit_user_data;
    std::atomic<double> m_max_mutex_hold_time;
    std::atomic<double> m_mutex_wait_limit;
    double m_next_status_time;
    // 0 not set up, 1 starting (inside Create), 2 running.
    std::atomic<signed char> m_state;
    std::atomic<bool> m_main_has_mutex;
    std::atomic<bool> m_worker_has_mutex;
    // Counts the main side's holds, so the worker reports an overlong hold
    // once (m_reported_hold, the worker's own) rather than on every pass.
    std::atomic<unsigned> m_main_holds;
    unsigned m_reported_hold;
    std::atomic<bool> m_init_requested;
    std::atomic<bool> m_exit_requested;
    std::atomic<bool> m_finished;
    std::atomic<bool> m_destroying;
    bool m_thread_started;
    pthread_t m_thread;
    pthread_mutex_t m_mutex;
    std::atomic<bool> m_mutex_exists;
};
