#include "platform/desktop/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace vw::desktop {

namespace {

constexpr double kExitPollInterval = 0.1;
constexpr std::size_t kMaxOutput = 4096;

UniqueFd openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0) {
        ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
        return UniqueFd(static_cast<int>(fd));
    }
#endif
    (void)pid;
    return UniqueFd();
}

short readable() { return POLLIN; }

// posix_spawn's file actions and attributes, destroyed when they go.
struct SpawnSetup {
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attr);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
};

}  // namespace

ChildProcesses::ChildProcesses(platform::MainLoop& loop, ExitNotice notice) : loop_(loop), notice_(notice) {}

ChildProcesses::~ChildProcesses() = default;

Result<void> ChildProcesses::spawn(const std::vector<std::string>& args, const Options& options, Done done) {
    UniqueFd readEnd, writeEnd;
    if (options.captureOutput) {
        int pipeFds[2] = {-1, -1};
        if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return Error{std::strerror(errno), errno};
        readEnd.reset(pipeFds[0]);
        writeEnd.reset(pipeFds[1]);
    }
    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.captureOutput) {
        posix_spawn_file_actions_adddup2(&setup.actions, writeEnd.get(), 1);
        posix_spawn_file_actions_addopen(&setup.actions, 2, "/dev/null", O_WRONLY, 0);
    }
    // Nothing else of ours reaches the child, whatever was opened without
    // close-on-exec (by a library, say).
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
    // A session of its own (a browser it starts outlives us and our
    // terminal's Ctrl-C), no blocked signals and default dispositions.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int s : {SIGPIPE, SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGCHLD}) sigaddset(&defaults, s);
    posix_spawnattr_setsigmask(&setup.attr, &none);
    posix_spawnattr_setsigdefault(&setup.attr, &defaults);
    posix_spawnattr_setflags(&setup.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &setup.actions, &setup.attr, argv.data(), environ);
    writeEnd.reset();
    if (rc != 0) return Error{std::strerror(rc), rc};

    const ChildId id = nextId_++;
    Child& c = children_[id];
    c.pid = pid;
    c.done = std::move(done);
    if (notice_ == ExitNotice::Pidfd) c.pidfd = openPidfd(pid);
    if (c.pidfd) c.exitWatch = loop_.watchFd(c.pidfd.get(), readable, [this, id](short) { reap(id); });
    else c.exitPoll = loop_.scheduleTimer(kExitPollInterval, true, [this, id] { reap(id); });
    if (options.captureOutput) {
        c.out = std::move(readEnd);
        c.outWatch = loop_.watchFd(c.out.get(), readable, [this, id](short) {
            if (auto it = children_.find(id); it != children_.end()) readOutput(it->second);
        });
    }
    if (options.timeLimit) c.timeLimit = loop_.scheduleTimer(*options.timeLimit, false, [this, id] { giveUp(id); });
    return {};
}

// Its handler hears at once that it was given up on; it is reaped when the
// kill takes.
void ChildProcesses::giveUp(ChildId id) {
    auto it = children_.find(id);
    if (it == children_.end()) return;
    ::kill(it->second.pid, SIGKILL);
    if (Done done = std::exchange(it->second.done, nullptr)) done(End{});
}

void ChildProcesses::readOutput(Child& c) {
    if (!c.out) return;
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(c.out.get(), buf, sizeof buf);
        if (n > 0) {
            if (c.output.size() < kMaxOutput) c.output.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || errno != EAGAIN) {
            // The end (or a broken pipe): nothing more to read.
            c.outWatch.cancel();
            c.out.reset();
        }
        break;
    }
}

void ChildProcesses::reap(ChildId id) {
    auto it = children_.find(id);
    if (it == children_.end()) return;
    Child& c = it->second;
    int status = 0;
    const pid_t r = ::waitpid(c.pid, &status, WNOHANG);
    if (r == 0) return;  // still running
    readOutput(c);       // what it wrote before it ended
    End end{r == c.pid, status, std::move(c.output)};
    Done done = std::move(c.done);
    children_.erase(it);  // its watches, timers and descriptors with it
    if (done) done(end);
}

}  // namespace vw::desktop
