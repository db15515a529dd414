// Hands addresses to the desktop to open: `xdg-open URL` is started with
// posix_spawn and an argument vector (no shell), in a session of its own, and
// the main loop carries on at once; its exit is reaped when it comes (a
// pidfd watched by the loop) and a failure is logged in one line.
//
// Our store addresses use the "itms-apps" scheme, for which a desktop has
// rarely a handler: `xdg-mime query default x-scheme-handler/itms-apps` is
// asked first (also without waiting), and when it names none the address is
// opened as "https" with the same host, path and query.
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/MainLoop.h"

namespace vw::desktop {

class DesktopUrlOpener {
public:
    using Log = std::function<void(const std::string&)>;

    // Seconds the handler query may take before it counts as naming none.
    static constexpr double kQueryTimeout = 2.0;

    DesktopUrlOpener(platform::MainLoop& loop, Log log);
    // Children still running are left to finish on their own.
    ~DesktopUrlOpener();
    DesktopUrlOpener(const DesktopUrlOpener&) = delete;
    DesktopUrlOpener& operator=(const DesktopUrlOpener&) = delete;

    // Main thread. Returns at once.
    void open(const std::string& url);

    // Children started and not yet reaped.
    std::size_t running() const { return children_.size(); }

    // "itms-apps://HOST/PATH?QUERY" as "https://HOST/PATH?QUERY".
    static std::string httpsForm(const std::string& url);
    // The scheme of `url` in lower case, or empty without one.
    static std::string schemeOf(const std::string& url);

private:
    struct Child {
        pid_t pid = -1;
        int pidfd = -1;
        int out = -1;  // its standard output, when captured
        std::string output;
        bool exited = false;
        int status = 0;
        std::optional<platform::MainLoop::WatchId> exitWatch, outWatch;
        std::optional<platform::MainLoop::TimerId> timer;
        std::function<void(bool exited, int status, const std::string& output)> done;
    };
    using ChildId = uint64_t;

    // Starts argv[0] from PATH; absent (with errno's text in `why`) when it cannot.
    std::optional<ChildId> spawn(const std::vector<std::string>& argv, bool captureOutput,
                                 std::function<void(bool, int, const std::string&)> done, std::string* why);
    void launch(const std::string& url);
    void reap(ChildId id);
    void readOutput(ChildId id);
    void forget(ChildId id);

    platform::MainLoop& loop_;
    Log log_;
    std::map<ChildId, Child> children_;
    ChildId nextId_ = 1;
};

}  // namespace vw::desktop
