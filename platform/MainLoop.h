// The main run loop: repeating and one-shot timers, and a queue of work that
// any thread may post to. Everything it runs, it runs on the thread that
// created it (the main thread).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Clock.h"
#include "platform/Trace.h"

namespace vw::platform {

class MainLoop {
public:
    using TimerId = uint64_t;

    // `clock` gives the loop's time; timers fire by it.
    explicit MainLoop(const Clock& clock, Trace* trace = nullptr);

    TimerId scheduleTimer(double interval, bool repeats, std::function<void()> fire);
    void invalidateTimer(TimerId id);

    // Queues work for the main thread and returns at once; safe from any thread.
    void post(std::function<void()> work);
    bool isMainThread() const { return std::this_thread::get_id() == mainThread_; }

    // Runs the work posted so far, then every timer due by now. Returns
    // whether anything ran. Work posted while running waits for the next call.
    bool runDue();

    // Loop time of the next timer, if any is scheduled.
    std::optional<double> nextTimerTime() const;
    bool hasPostedWork() const;

    // Sleeps until work is posted or the loop's clock reaches `until`
    // (forever without one). For backends that have no wait of their own.
    void waitForWork(std::optional<double> until);

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

    const Clock& clock_;
    Trace* trace_;
    std::thread::id mainThread_;
    std::map<TimerId, Timer> timers_;
    TimerId nextId_ = 1;

    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> work_;
    std::function<void()> waker_;
};

}  // namespace vw::platform
