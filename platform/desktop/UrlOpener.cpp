#include "platform/desktop/UrlOpener.h"

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

int openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0) {
        ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
        return static_cast<int>(fd);
    }
#endif
    (void)pid;
    return -1;
}

std::string describeStatus(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

// Schemes a desktop opens without asking.
bool plainWebScheme(const std::string& scheme) { return scheme == "http" || scheme == "https"; }

}  // namespace

DesktopUrlOpener::DesktopUrlOpener(platform::MainLoop& loop, Log log) : loop_(loop), log_(std::move(log)) {}

DesktopUrlOpener::~DesktopUrlOpener() {
    while (!children_.empty()) forget(children_.begin()->first);
}

std::string DesktopUrlOpener::schemeOf(const std::string& url) {
    const auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0) return "";
    std::string scheme = url.substr(0, colon);
    for (char& c : scheme) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')) return "";
    }
    return scheme;
}

std::string DesktopUrlOpener::httpsForm(const std::string& url) {
    const auto colon = url.find(':');
    if (colon == std::string::npos) return url;
    return "https" + url.substr(colon);
}

void DesktopUrlOpener::open(const std::string& url) {
    const std::string scheme = schemeOf(url);
    if (scheme.empty()) {
        // Not an address (and xdg-open would take "-..." as an option).
        log_("open: not an address: " + url);
        return;
    }
    if (plainWebScheme(scheme)) {
        launch(url);
        return;
    }
    // Is there a handler for the scheme? Without one, the web form of a
    // store address leads to the same page.
    const bool webForm = scheme == "itms-apps";
    std::string why;
    auto asked = spawn({"xdg-mime", "query", "default", "x-scheme-handler/" + scheme}, true,
                       [this, url, webForm](bool exited, int status, const std::string& output) {
                           const bool handled = exited && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                                                output.find_first_not_of(" \t\r\n") != std::string::npos;
                           launch(handled || !webForm ? url : httpsForm(url));
                       },
                       &why);
    if (!asked) launch(webForm ? httpsForm(url) : url);  // no xdg-mime: no handler known
}

void DesktopUrlOpener::launch(const std::string& url) {
    std::string why;
    auto started = spawn({"xdg-open", url}, false,
                         [this, url](bool exited, int status, const std::string&) {
                             if (exited && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
                                 log_("open: xdg-open failed for " + url + " (" + describeStatus(status) + ")");
                         },
                         &why);
    if (!started) log_("open: cannot start xdg-open for " + url + ": " + why);
}

std::optional<DesktopUrlOpener::ChildId> DesktopUrlOpener::spawn(
    const std::vector<std::string>& args, bool captureOutput, std::function<void(bool, int, const std::string&)> done,
    std::string* why) {
    int pipeFds[2] = {-1, -1};
    if (captureOutput && ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        *why = std::strerror(errno);
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (captureOutput) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    // Nothing else of ours reaches the child, whatever was opened without
    // close-on-exec (by a library, say).
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // A session of its own (a browser it starts outlives us and our
    // terminal's Ctrl-C), no blocked signals and default dispositions.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int s : {SIGPIPE, SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGCHLD}) sigaddset(&defaults, s);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (captureOutput) ::close(pipeFds[1]);
    if (rc != 0) {
        if (captureOutput) ::close(pipeFds[0]);
        *why = std::strerror(rc);
        return std::nullopt;
    }

    const ChildId id = nextId_++;
    Child& c = children_[id];
    c.pid = pid;
    c.done = std::move(done);
    c.pidfd = openPidfd(pid);
    if (c.pidfd >= 0) {
        c.exitWatch = loop_.watchFd(c.pidfd, [] { return static_cast<short>(POLLIN); }, [this, id](short) { reap(id); });
    } else {
        // No pidfd (an old kernel): look for the exit now and then instead.
        c.timer = loop_.scheduleTimer(0.1, true, [this, id] { reap(id); });
    }
    if (captureOutput) {
        c.out = pipeFds[0];
        c.outWatch = loop_.watchFd(c.out, [] { return static_cast<short>(POLLIN); }, [this, id](short) { readOutput(id); });
        // The handler query answers at once, or counts as naming none.
        const auto timeout = loop_.scheduleTimer(kQueryTimeout, false, [this, id] {
            auto it = children_.find(id);
            if (it == children_.end()) return;
            ::kill(it->second.pid, SIGKILL);
            auto done = std::move(it->second.done);
            it->second.done = nullptr;
            if (done) done(false, 0, "");
        });
        if (c.pidfd >= 0) c.timer = timeout;
    }
    return id;
}

void DesktopUrlOpener::readOutput(ChildId id) {
    auto it = children_.find(id);
    if (it == children_.end() || it->second.out < 0) return;
    Child& c = it->second;
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(c.out, buf, sizeof buf);
        if (n > 0) {
            if (c.output.size() < 4096) c.output.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || errno != EAGAIN) {
            // The end (or a broken pipe): nothing more to read.
            if (c.outWatch) loop_.unwatchFd(*c.outWatch);
            c.outWatch.reset();
            ::close(c.out);
            c.out = -1;
        }
        break;
    }
}

void DesktopUrlOpener::reap(ChildId id) {
    auto it = children_.find(id);
    if (it == children_.end()) return;
    int status = 0;
    const pid_t r = ::waitpid(it->second.pid, &status, WNOHANG);
    if (r == 0) return;  // still running
    it->second.exited = r == it->second.pid;
    it->second.status = status;
    readOutput(id);  // what it wrote before it ended
    it = children_.find(id);
    if (it == children_.end()) return;
    auto done = std::move(it->second.done);
    const bool exited = it->second.exited;
    const std::string output = it->second.output;
    forget(id);
    if (done) done(exited, status, output);
}

void DesktopUrlOpener::forget(ChildId id) {
    auto it = children_.find(id);
    if (it == children_.end()) return;
    Child& c = it->second;
    if (c.exitWatch) loop_.unwatchFd(*c.exitWatch);
    if (c.outWatch) loop_.unwatchFd(*c.outWatch);
    if (c.timer) loop_.invalidateTimer(*c.timer);
    if (c.pidfd >= 0) ::close(c.pidfd);
    if (c.out >= 0) ::close(c.out);
    children_.erase(it);
}

}  // namespace vw::desktop
