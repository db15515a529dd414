#include "platform/MainLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <system_error>
#include <vector>

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace vw::platform {

MainLoop::MainLoop(const Clock& clock)
    : clock_(clock), mainThread_(std::this_thread::get_id()) {
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

MainLoop::~MainLoop() { ::close(wakeFd_); }

MainLoop::WatchId MainLoop::watchFd(int fd, std::function<short()> events, std::function<void(short)> ready) {
    const WatchId id = nextWatch_++;
    watches_.emplace(id, Watch{fd, std::move(events), std::move(ready)});
    return id;
}

void MainLoop::unwatchFd(WatchId id) {
    watches_.erase(id);
    std::erase_if(readyFds_, [id](const auto& r) { return r.first == id; });
}

MainLoop::TimerId MainLoop::scheduleTimer(double interval, bool repeats, std::function<void()> fire) {
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
    const uint64_t one = 1;
    // Only fails when the counter is already huge, which wakes the wait all the same.
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    if (waker) waker();
}

void MainLoop::setWaker(std::function<void()> waker) {
    std::lock_guard lock(mutex_);
    waker_ = std::move(waker);
}

bool MainLoop::hasPostedWork() const {
    if (isMainThread() && !readyFds_.empty()) return true;
    std::lock_guard lock(mutex_);
    return !work_.empty();
}

bool MainLoop::runDue() {
    bool fdsRan = false;
    {
        // One at a time: a handler may unwatch a descriptor still in the list.
        std::vector<std::pair<WatchId, short>> ready;
        ready.swap(readyFds_);
        for (const auto& [id, revents] : ready) {
            auto it = watches_.find(id);
            if (it == watches_.end()) continue;
            std::function<void(short)> handler = it->second.ready;
            handler(revents);
            fdsRan = true;
        }
    }
    std::deque<std::function<void()>> work;
    {
        // The wake count is cleared before taking the work: a post after
        // this counts again and wakes the next wait.
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t r = ::read(wakeFd_, &count, sizeof count);
        std::lock_guard lock(mutex_);
        work.swap(work_);
    }
    bool ran = fdsRan || !work.empty();
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

bool MainLoop::waitForWork(std::optional<double> until, int extraFd) {
    if (!readyFds_.empty()) return false;
    {
        std::lock_guard lock(mutex_);
        if (!work_.empty()) return false;
    }
    int timeoutMs = -1;
    if (until) {
        // A time already past still looks at the descriptors once.
        const double seconds = std::max(0.0, *until - clock_.now());
        timeoutMs = static_cast<int>(std::min(std::ceil(seconds * 1000.0), 24.0 * 3600 * 1000));
    }
    std::vector<pollfd> fds;
    std::vector<WatchId> ids;
    fds.push_back({wakeFd_, POLLIN, 0});
    if (extraFd >= 0) fds.push_back({extraFd, POLLIN, 0});
    const std::size_t firstWatch = fds.size();
    for (const auto& [id, w] : watches_) {
        const short events = w.events ? w.events() : POLLIN;
        fds.push_back({w.fd, events, 0});
        ids.push_back(id);
    }
    const int n = ::poll(fds.data(), fds.size(), timeoutMs);
    if (n <= 0) return false;  // timed out, or a signal: the caller looks again
    if (fds[0].revents & POLLIN) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t r = ::read(wakeFd_, &count, sizeof count);
    }
    for (std::size_t i = firstWatch; i < fds.size(); ++i)
        if (fds[i].revents) readyFds_.emplace_back(ids[i - firstWatch], fds[i].revents);
    return extraFd >= 0 && fds[1].revents != 0;
}

}  // namespace vw::platform
