// Programs started for the desktop without waiting for them: each is started
// with posix_spawn and an argument vector (no shell), in a session of its
// own, with standard input (and, unless captured, output and error) on
// /dev/null and no other descriptor of ours. The main loop carries on at
// once; a child's exit is reaped when it comes (its pidfd watched by the
// loop, or, where the kernel has no pidfd, looked for every tenth of a
// second) and its handler told then.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/Result.h"
#include "platform/UniqueHandle.h"

namespace vw::desktop {

class ChildProcesses {
public:
    // How a child ended: its wait status when it exited; exited false when
    // it was given up on (its time limit passed; it is killed).
    struct End {
        bool exited = false;
        int status = 0;
        std::string output;  // what it wrote, when captured (at most 4 KiB)
    };
    using Done = std::function<void(const End&)>;

    struct Options {
        bool captureOutput = false;
        // Seconds the child may take before it is killed and counted as given up.
        std::optional<double> timeLimit;
    };

    // How exits are noticed: by a pidfd where the kernel gives one, else by
    // looking now and then; or always by looking (what an old kernel gets).
    enum class ExitNotice { Pidfd, Polling };

    explicit ChildProcesses(platform::MainLoop& loop, ExitNotice notice = ExitNotice::Pidfd);
    // Children still running are left to finish on their own; their
    // handlers are not called.
    ~ChildProcesses();
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    // Main thread. Starts argv[0] from PATH and returns at once; `done`
    // hears how it ended, from the loop. An error (errno's) when it cannot
    // be started.
    Result<void> spawn(const std::vector<std::string>& argv, const Options& options, Done done);

    // Children started and not yet reaped.
    std::size_t running() const { return children_.size(); }

private:
    struct Child {
        pid_t pid = -1;
        UniqueFd pidfd;
        UniqueFd out;  // its standard output, when captured
        std::string output;
        platform::MainLoop::Watch exitWatch, outWatch;
        platform::MainLoop::Timer exitPoll, timeLimit;
        Done done;
    };
    using ChildId = uint64_t;

    void reap(ChildId id);
    void readOutput(Child& c);
    void giveUp(ChildId id);

    platform::MainLoop& loop_;
    ExitNotice notice_;
    std::map<ChildId, Child> children_;
    ChildId nextId_ = 1;
};

}  // namespace vw::desktop
