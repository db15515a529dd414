#include "platform/MainLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace vw::platform {

MainLoop::MainLoop(const Clock& clock, Trace* trace)
    : clock_(clock), trace_(trace), mainThread_(std::this_thread::get_id()) {}

MainLoop::TimerId MainLoop::scheduleTimer(double interval, bool repeats, std::function<void()> fire) {
    traceCall(trace_, "scheduleTimer", {traceNumber(interval), repeats ? "repeats" : "once"});
    const TimerId id = nextId_++;
    // A non-positive interval would spin; the platform treats it as a tenth of a millisecond.
    if (!(interval > 0)) interval = 0.0001;
    timers_.emplace(id, Timer{clock_.now() + interval, interval, repeats, std::move(fire)});
    return id;
}

void MainLoop::invalidateTimer(TimerId id) { timers_.erase(id); }

void MainLoop::post(std::function<void()> work) {
    std::function<void()> waker;
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
        waker = waker_;
    }
    posted_.notify_all();
    if (waker) waker();
}

void MainLoop::setWaker(std::function<void()> waker) {
    std::lock_guard lock(mutex_);
    waker_ = std::move(waker);
}

bool MainLoop::hasPostedWork() const {
    std::lock_guard lock(mutex_);
    return !work_.empty();
}

bool MainLoop::runDue() {
    std::deque<std::function<void()>> work;
    {
        std::lock_guard lock(mutex_);
        work.swap(work_);
    }
    bool ran = !work.empty();
    for (auto& w : work) w();

    // Timers due now, earliest first. A timer fires once however late it is;
    // a repeating one then moves on to its next time after now.
    const double now = clock_.now();
    std::vector<std::pair<double, TimerId>> due;
    for (const auto& [id, t] : timers_)
        if (t.next <= now) due.emplace_back(t.next, id);
    std::sort(due.begin(), due.end());
    for (const auto& [when, id] : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue;  // invalidated by an earlier one
        std::function<void()> fire = it->second.fire;
        if (it->second.repeats) {
            Timer& t = it->second;
            t.next += t.interval;
            if (t.next <= now) t.next += std::ceil((now - t.next) / t.interval + 1e-9) * t.interval;
            if (t.next <= now) t.next = now + t.interval;
        } else {
            timers_.erase(it);
        }
        fire();
        ran = true;
    }
    return ran;
}

std::optional<double> MainLoop::nextTimerTime() const {
    std::optional<double> next;
    for (const auto& [id, t] : timers_)
        if (!next || t.next < *next) next = t.next;
    return next;
}

void MainLoop::waitForWork(std::optional<double> until) {
    std::unique_lock lock(mutex_);
    if (!work_.empty()) return;
    if (!until) {
        posted_.wait(lock, [&] { return !work_.empty(); });
        return;
    }
    const double seconds = *until - clock_.now();
    if (seconds <= 0) return;
    posted_.wait_for(lock, std::chrono::duration<double>(seconds), [&] { return !work_.empty(); });
}

}  // namespace vw::platform
