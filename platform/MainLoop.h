// The main run loop: repeating and one-shot timers, a queue of work that any
// thread may post to, and file descriptors watched for readiness (a bus
// connection, a child's exit). Everything it runs, it runs on the thread that
// created it (the main thread).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Clock.h"

namespace vw::platform {

class MainLoop {
public:
    using TimerId = uint64_t;
    using WatchId = uint64_t;

    // `clock` gives the loop's time; timers fire by it.
    explicit MainLoop(const Clock& clock);
    virtual ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    // Virtual, so that a test double can record the timers scheduled; what
    // runs per event (post, runDue, the wait) is not virtual.
    virtual TimerId scheduleTimer(double interval, bool repeats, std::function<void()> fire);
    void invalidateTimer(TimerId id);

    // Queues work for the main thread and returns at once; safe from any thread.
    void post(std::function<void()> work);
    bool isMainThread() const { return std::this_thread::get_id() == mainThread_; }

    // Main thread only. While watched, the wait also returns when `fd` is
    // ready for any of the poll(2) events that `events` gives (asked afresh
    // before every wait); `ready` then runs from runDue with what poll
    // reported. Unwatching from inside `ready` is allowed.
    WatchId watchFd(int fd, std::function<short()> events, std::function<void(short revents)> ready);
    void unwatchFd(WatchId id);
    bool watchingFds() const { return !watches_.empty(); }

    // Runs the watched descriptors found ready by the last wait, the work
    // posted so far, then every timer due by now. Returns whether anything
    // ran. Work posted while running waits for the next call.
    bool runDue();

    // Loop time of the next timer, if any is scheduled.
    std::optional<double> nextTimerTime() const;
    // Work posted, or (when called on the main thread) descriptors found ready.
    bool hasPostedWork() const;

    // Sleeps until work is posted, a watched descriptor is ready, `extraFd`
    // (when not -1) is readable, or the loop's clock reaches `until` (forever
    // without one). Returns whether `extraFd` was readable. For backends
    // whose own wait is a descriptor (a display connection) or who have none.
    bool waitForWork(std::optional<double> until, int extraFd = -1);

    // Called (on the posting thread) after every post, so a backend that
    // sleeps in its own event wait can be woken.
    void setWaker(std::function<void()> waker);

    const Clock& clock() const { return clock_; }

private:
    struct Timer {
        double next;
        double interval;
        bool repeats;
        std::function<void()> fire;
    };

    struct Watch {
        int fd;
        std::function<short()> events;
        std::function<void(short)> ready;
    };

    const Clock& clock_;
    std::thread::id mainThread_;
    std::map<TimerId, Timer> timers_;
    TimerId nextId_ = 1;
    std::map<WatchId, Watch> watches_;
    std::vector<std::pair<WatchId, short>> readyFds_;
    WatchId nextWatch_ = 1;

    mutable std::mutex mutex_;
    std::deque<std::function<void()>> work_;
    std::function<void()> waker_;
    int wakeFd_ = -1;  // an eventfd that every post bumps
};

}  // namespace vw::platform
