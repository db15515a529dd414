#include "app/DesktopSession.h"

#include <SDL.h>

#include <filesystem>
#include <ostream>
#include <sstream>

#include "platform/FileSettings.h"
#include "platform/Text.h"
#include "platform/desktop/Renderer.h"
#include "platform/recording/RecordingPlatform.h"

namespace vw::app {

using namespace platform;
using namespace desktop;

std::optional<std::string> missingArtworkWarning(const std::string& dir) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(std::filesystem::path(dir) / kResourceMarker, ec)) return std::nullopt;
    return "voltwise: no artwork in " + oneLine(dir) + " (build the vw_resources target); pictures stay blank";
}

SessionSetup sessionSetup(const Options& o, const BatteryChoice& battery, std::ostream& err) {
    SessionSetup setup;
    setup.device = {o.model, o.systemVersion, o.machine};
    setup.level = battery.level;
    setup.state = battery.state;
    setup.screenHeight = o.screenHeight;
    setup.settingsPath = o.settingsPath;
    setup.config = o.config;
    setup.err = &err;
    setup.computer = battery.computer;
    return setup;
}

int runScreenshot(const Options& o, const BatteryChoice& battery, const ScriptEvents& events, bool fromScript,
                  std::ostream& out, std::ostream& err) {
    SessionSetup setup = sessionSetup(o, battery, err);
    // A picture shows the settings as they stand (the default file when none
    // is named) and leaves them as they are: drawing one is not a launch.
    if (!setup.settingsPath) setup.settingsPath = platform::FileSettings::defaultPath();
    setup.settingsReadOnly = true;
    if (auto warning = missingArtworkWarning(resourceDir())) err << *warning << '\n';
    ScriptEvents replay = events;
    if (!fromScript) {
        // The screen once it has settled: the first grow animation has ended.
        replay = [](const std::function<void(const ScriptEvent&)>& fn) {
            fn(ScriptEvent{0, script::Wait{2.5}});
        };
    }
    const int scale = o.scale > 0 ? o.scale : 1;
    const Size points{320, o.screenHeight};
    std::ostringstream quiet;
    bool written = false;
    int width = 0, height = 0;
    runScript(replay, setup, fromScript ? out : quiet, [&](RecordingPlatform& rp) {
        auto screen = renderOffscreen(rp.ui, points, scale);
        written = screen->savePng(*o.screenshot);
        if (screen->surface()) {
            width = screen->surface()->w;
            height = screen->surface()->h;
        }
    });
    if (!written) {
        err << "voltwise: cannot write the screenshot " << oneLine(*o.screenshot) << ": " << oneLine(SDL_GetError()) << '\n';
        return 1;
    }
    out << "screenshot: " << oneLine(*o.screenshot) << " (" << width << "x" << height << ")\n";
    return 0;
}

}  // namespace vw::app
