#include "platform/desktop/UrlOpener.h"

#include <sys/wait.h>

namespace vw::desktop {

namespace {

std::string describeStatus(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

// Schemes a desktop opens without asking.
bool plainWebScheme(const std::string& scheme) { return scheme == "http" || scheme == "https"; }

}  // namespace

DesktopUrlOpener::DesktopUrlOpener(platform::MainLoop& loop, Log log, ChildProcesses::ExitNotice notice)
    : log_(std::move(log)), children_(loop, notice) {}

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
    const auto asked = children_.spawn(
        {"xdg-mime", "query", "default", "x-scheme-handler/" + scheme}, {.captureOutput = true, .timeLimit = kQueryTimeout},
        [this, url, webForm](const ChildProcesses::End& end) {
            const bool handled = end.exited && WIFEXITED(end.status) && WEXITSTATUS(end.status) == 0 &&
                                 end.output.find_first_not_of(" \t\r\n") != std::string::npos;
            launch(handled || !webForm ? url : httpsForm(url));
        });
    if (!asked) launch(webForm ? httpsForm(url) : url);  // no xdg-mime: no handler known
}

void DesktopUrlOpener::launch(const std::string& url) {
    const auto started = children_.spawn({"xdg-open", url}, {}, [this, url](const ChildProcesses::End& end) {
        if (end.exited && !(WIFEXITED(end.status) && WEXITSTATUS(end.status) == 0))
            log_("open: xdg-open failed for " + url + " (" + describeStatus(end.status) + ")");
    });
    if (!started) log_("open: cannot start xdg-open for " + url + ": " + started.error().what);
}

}  // namespace vw::desktop
