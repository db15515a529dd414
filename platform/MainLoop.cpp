#include "platform/MainLoop.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <system_error>
#include <vector>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace vw::platform {

MainLoop::MainLoop(const Clock& clock)
    : clock_(clock), mainThread_(std::this_thread::get_id()), wakeFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!wakeFd_) throw std::system_error(errno, std::generic_category(), "eventfd");
}

MainLoop::~MainLoop() = default;

MainLoop::Watch MainLoop::watchFd(int fd, std::function<short()> events, std::function<void(short)> ready) {
    const uint64_t id = nextId_++;
    watches_.emplace(id, WatchEntry{fd, std::move(events), std::move(ready)});
    return Watch(this, id);
}

MainLoop::Timer MainLoop::scheduleTimer(double interval, bool repeats, std::function<void()> fire) {
    const uint64_t id = nextId_++;
    // A non-positive interval would spin; the platform treats it as a tenth of a millisecond.
    if (!(interval > 0)) interval = 0.0001;
    timers_.emplace(id, TimerEntry{clock_.monotonic() + interval, interval, repeats, std::move(fire)});
    return Timer(this, id);
}

void MainLoop::cancel(Kind kind, uint64_t id) {
    if (kind == Kind::Timer) {
        timers_.erase(id);
        return;
    }
    watches_.erase(id);
    std::erase_if(readyFds_, [id](const auto& r) { return r.first == id; });
}

bool MainLoop::active(Kind kind, uint64_t id) const {
    return kind == Kind::Timer ? timers_.count(id) != 0 : watches_.count(id) != 0;
}

void MainLoop::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    const uint64_t one = 1;
    // Only fails when the counter is already huge, which wakes the wait all the same.
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_.get(), &one, sizeof one);
}

void MainLoop::post(const Lifetime& owner, std::function<void()> work) { post(owner.guard(std::move(work))); }

bool MainLoop::hasPostedWork() const {
    if (isMainThread() && !readyFds_.empty()) return true;
    std::lock_guard lock(mutex_);
    return !work_.empty();
}

bool MainLoop::runDue() {
    bool fdsRan = false;
    {
        // One at a time: a handler may cancel a watch still in the list.
        std::vector<std::pair<uint64_t, short>> ready;
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
        [[maybe_unused]] const ssize_t r = ::read(wakeFd_.get(), &count, sizeof count);
        std::lock_guard lock(mutex_);
        work.swap(work_);
    }
    bool ran = fdsRan || !work.empty();
    for (auto& w : work) w();

    // Timers due now, earliest first. A timer fires once however late it is;
    // a repeating one then moves on to its next time after now.
    const double now = clock_.monotonic();
    std::vector<std::pair<double, uint64_t>> due;
    for (const auto& [id, t] : timers_)
        if (t.next <= now) due.emplace_back(t.next, id);
    std::sort(due.begin(), due.end());
    for (const auto& [when, id] : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue;  // cancelled by an earlier one
        std::function<void()> fire = it->second.fire;
        if (it->second.repeats) {
            TimerEntry& t = it->second;
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

bool MainLoop::wait(std::optional<double> timeout, int extraFd) {
    if (!readyFds_.empty()) return false;
    {
        std::lock_guard lock(mutex_);
        if (!work_.empty()) return false;
    }
    int timeoutMs = -1;
    if (timeout) {
        // No time left still looks at the descriptors once.
        const double seconds = std::max(0.0, *timeout);
        timeoutMs = static_cast<int>(std::min(std::ceil(seconds * 1000.0), 24.0 * 3600 * 1000));
    }
    std::vector<pollfd> fds;
    std::vector<uint64_t> ids;
    fds.push_back({wakeFd_.get(), POLLIN, 0});
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
        [[maybe_unused]] const ssize_t r = ::read(wakeFd_.get(), &count, sizeof count);
    }
    for (std::size_t i = firstWatch; i < fds.size(); ++i)
        if (fds[i].revents) readyFds_.emplace_back(ids[i - firstWatch], fds[i].revents);
    return extraFd >= 0 && fds[1].revents != 0;
}

}  // namespace vw::platform
