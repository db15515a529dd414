// Hands addresses to the desktop to open: `xdg-open URL` is started as a
// child process (ChildProcesses: no shell, no waiting) and a failure is
// logged in one line when it ends.
//
// Our store addresses use the "itms-apps" scheme, for which a desktop has
// rarely a handler: `xdg-mime query default x-scheme-handler/itms-apps` is
// asked first (also without waiting), and when it names none the address is
// opened as "https" with the same host, path and query.
#pragma once

#include <functional>
#include <string>

#include "platform/MainLoop.h"
#include "platform/desktop/ChildProcess.h"

namespace vw::desktop {

class DesktopUrlOpener {
public:
    using Log = std::function<void(const std::string&)>;

    // Seconds the handler query may take before it counts as naming none.
    static constexpr double kQueryTimeout = 2.0;

    DesktopUrlOpener(platform::MainLoop& loop, Log log,
                     ChildProcesses::ExitNotice notice = ChildProcesses::ExitNotice::Pidfd);

    // Main thread. Returns at once.
    void open(const std::string& url);

    // Children started and not yet reaped.
    std::size_t running() const { return children_.running(); }

    // "itms-apps://HOST/PATH?QUERY" as "https://HOST/PATH?QUERY".
    static std::string httpsForm(const std::string& url);
    // The scheme of `url` in lower case, or empty without one.
    static std::string schemeOf(const std::string& url);

private:
    void launch(const std::string& url);

    Log log_;
    ChildProcesses children_;
};

}  // namespace vw::desktop
