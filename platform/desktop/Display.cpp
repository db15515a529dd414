#include "platform/desktop/Display.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/UniqueHandle.h"

namespace vw::desktop {

namespace {

const char* env(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct Globals {
    bool seat = false;
    bool done = false;
};

void onGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
    if (std::strcmp(interface, "wl_seat") == 0) static_cast<Globals*>(data)->seat = true;
}
void onGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

void onSyncDone(void* data, wl_callback*, uint32_t) { static_cast<Globals*>(data)->done = true; }
const wl_callback_listener kSyncListener = {onSyncDone};

}  // namespace

Result<std::string> waylandSocketPath() {
    const char* name = env("WAYLAND_DISPLAY");
    if (!name) return Error{"WAYLAND_DISPLAY is not set"};
    std::string path;
    if (name[0] == '/') {
        path = name;
    } else {
        const char* runtime = env("XDG_RUNTIME_DIR");
        if (!runtime) return Error{"WAYLAND_DISPLAY names a socket in XDG_RUNTIME_DIR, which is not set"};
        path = std::string(runtime) + "/" + name;
    }
    if (path.size() >= sizeof(sockaddr_un{}.sun_path))
        return Error{"the Wayland socket path is " + std::to_string(path.size()) + " bytes long, more than a socket takes"};
    return path;
}

Result<bool> waylandHasSeat(const std::string& socketPath, double timeoutSeconds) {
    sockaddr_un addr{};
    if (socketPath.size() >= sizeof addr.sun_path) return Error{"the Wayland socket path is too long"};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, socketPath.c_str(), socketPath.size() + 1);
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) return Error{std::strerror(errno), errno};
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        const int e = errno;
        return Error{"cannot connect to the Wayland compositor (" + std::string(std::strerror(e)) + ")", e};
    }
    wl_display* display = wl_display_connect_to_fd(fd.get());
    if (!display) return Error{"cannot talk to the Wayland compositor"};
    fd.release();  // the display's from here
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    wl_callback* sync = wl_display_sync(display);
    wl_callback_add_listener(sync, &kSyncListener, &globals);

    // wl_display_roundtrip, with a time limit: a compositor that never
    // answers must not hold the start.
    const double deadline = monotonicSeconds() + timeoutSeconds;
    bool failed = false;
    while (!globals.done && !failed) {
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0) failed = true;
        if (failed || globals.done) {
            wl_display_cancel_read(display);
            break;
        }
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            failed = true;
            break;
        }
        const double left = deadline - monotonicSeconds();
        pollfd p{wl_display_get_fd(display), POLLIN, 0};
        const int n = left > 0 ? ::poll(&p, 1, static_cast<int>(std::ceil(left * 1000))) : 0;
        if (n <= 0) {
            wl_display_cancel_read(display);
            if (n < 0 && errno == EINTR) continue;
            break;  // timed out
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) failed = true;
    }
    const bool answered = globals.done;
    wl_callback_destroy(sync);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered) return Error{failed ? "the Wayland compositor closed the connection" : "the Wayland compositor does not answer"};
    return globals.seat;
}

Result<std::string> videoDrivers() {
    if (env("SDL_VIDEODRIVER")) return std::string();
    const bool x11 = env("DISPLAY") != nullptr;
    if (!env("WAYLAND_DISPLAY")) {
        if (x11) return std::string("x11");
        return Error{"neither DISPLAY nor WAYLAND_DISPLAY is set"};
    }
    // Wayland is the second choice beside X11, but SDL falls through to it
    // when X11 fails, so it is checked all the same.
    Result<std::string> path = waylandSocketPath();
    Result<bool> seat = path ? waylandHasSeat(*path, 3.0) : Result<bool>(path.error());
    if (seat && *seat) return std::string(x11 ? "x11,wayland" : "wayland");
    if (x11) return std::string("x11");
    if (!seat) return seat.error();
    return Error{"the Wayland compositor offers no input seat"};
}

}  // namespace vw::desktop
