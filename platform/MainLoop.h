// The main run loop: repeating and one-shot timers, a queue of work that any
// thread may post to, and file descriptors watched for readiness (a bus
// connection, a child's exit). Everything it runs, it runs on the thread that
// created it (the main thread).
//
// A timer or a watch lasts as long as the handle it is returned in: the
// handle cancels it when it is destroyed (or cancelled, or assigned another).
// Handles are move-only and must not outlive their loop.
//
//   Timer retry_ = loop.scheduleTimer(5.0, false, [this] { save(); });
//   Watch bus_ = loop.watchFd(fd, [] { return short(POLLIN); }, [this](short) { read(); });
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
#include "platform/Lifetime.h"
#include "platform/UniqueHandle.h"

namespace vw::platform {

class MainLoop {
    enum class Kind { Timer, Watch };

    template <Kind K>
    class [[nodiscard]] Handle {
    public:
        Handle() = default;
        Handle(Handle&& other) noexcept : loop_(std::exchange(other.loop_, nullptr)), id_(other.id_) {}
        Handle& operator=(Handle&& other) noexcept {
            if (this != &other) {
                cancel();
                loop_ = std::exchange(other.loop_, nullptr);
                id_ = other.id_;
            }
            return *this;
        }
        ~Handle() { cancel(); }

        void cancel() {
            if (MainLoop* loop = std::exchange(loop_, nullptr)) loop->cancel(K, id_);
        }
        // Still scheduled (a one-shot timer that has fired is not) or watched.
        bool active() const { return loop_ && loop_->active(K, id_); }

    private:
        friend class MainLoop;
        Handle(MainLoop* loop, uint64_t id) : loop_(loop), id_(id) {}
        MainLoop* loop_ = nullptr;
        uint64_t id_ = 0;
    };

public:
    using Timer = Handle<Kind::Timer>;
    using Watch = Handle<Kind::Watch>;

    // `clock` gives the loop's time: timers fire by its monotonic time.
    explicit MainLoop(const Clock& clock);
    virtual ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    // Main thread. `fire` runs `interval` seconds from now, and with
    // `repeats` every `interval` after that. Virtual, so that a test double
    // can record the timers scheduled; what runs per event (post, runDue,
    // the wait) is not virtual.
    virtual Timer scheduleTimer(double interval, bool repeats, std::function<void()> fire);

    // Queues work for the main thread and returns at once; safe from any thread.
    void post(std::function<void()> work);
    // The same, and the work is dropped if `owner` has ended by its turn.
    void post(const Lifetime& owner, std::function<void()> work);
    bool isMainThread() const { return std::this_thread::get_id() == mainThread_; }

    // Main thread. While watched, the wait also returns when `fd` is ready
    // for any of the poll(2) events that `events` gives (asked afresh before
    // every wait); `ready` then runs from runDue with what poll reported.
    // Cancelling from inside `ready` is allowed.
    Watch watchFd(int fd, std::function<short()> events, std::function<void(short revents)> ready);

    // Runs the watched descriptors found ready by the last wait, the work
    // posted so far, then every timer due by now. Returns whether anything
    // ran. Work posted while running waits for the next call.
    bool runDue();

    // Monotonic time of the next timer, if any is scheduled.
    std::optional<double> nextTimerTime() const;
    // Work posted, or (when called on the main thread) descriptors found ready.
    bool hasPostedWork() const;

    // Sleeps in poll(2) until work is posted, a watched descriptor is ready,
    // `extraFd` (when not -1) is readable, or `timeout` seconds have passed
    // (forever without one). Returns whether `extraFd` was readable. The one
    // wait of every backend: one whose own events come on a descriptor (a
    // display connection) hands it in as `extraFd`.
    bool wait(std::optional<double> timeout, int extraFd = -1);

    const Clock& clock() const { return clock_; }

private:
    struct TimerEntry {
        double next;
        double interval;
        bool repeats;
        std::function<void()> fire;
    };

    struct WatchEntry {
        int fd;
        std::function<short()> events;
        std::function<void(short)> ready;
    };

    void cancel(Kind kind, uint64_t id);
    bool active(Kind kind, uint64_t id) const;

    const Clock& clock_;
    std::thread::id mainThread_;
    uint64_t nextId_ = 1;
    std::map<uint64_t, TimerEntry> timers_;
    std::map<uint64_t, WatchEntry> watches_;
    std::vector<std::pair<uint64_t, short>> readyFds_;

    mutable std::mutex mutex_;
    std::deque<std::function<void()>> work_;
    UniqueFd wakeFd_;  // an eventfd that every post bumps
};

}  // namespace vw::platform
