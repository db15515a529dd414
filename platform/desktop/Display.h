// Which of the desktop's display servers the window can open on, decided
// before SDL is handed anything: X11 when DISPLAY is set, Wayland when
// WAYLAND_DISPLAY names a compositor that answers and offers an input seat
// (SDL 2's Wayland driver crashes in its start-up on a compositor with none).
#pragma once

#include <string>

#include "platform/Result.h"

namespace vw::desktop {

// SDL's video drivers to try, in order ("x11", "wayland" or "x11,wayland"),
// or why none can be used. Empty when SDL_VIDEODRIVER is set: SDL then
// chooses as it is told.
Result<std::string> videoDrivers();

// What WAYLAND_DISPLAY names, checked as the Wayland library would take it
// (a socket path that fits, XDG_RUNTIME_DIR set for a relative name), or why
// it cannot name a socket. For messages, values are shown escaped and cut.
Result<std::string> waylandSocketPath();

// Connects to the compositor at `socketPath` and asks for its globals:
// whether it offers a seat (wl_seat), or why it could not be asked within
// `timeoutSeconds`.
Result<bool> waylandHasSeat(const std::string& socketPath, double timeoutSeconds);

}  // namespace vw::desktop
