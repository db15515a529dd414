#include "platform/desktop/DesktopPlatform.h"

#include <cstdio>

namespace vw::desktop {

namespace {
std::function<void(const std::string&)> printer(const DesktopOptions& o) {
    if (o.print) return o.print;
    return [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
}
}  // namespace

DesktopPlatform::DesktopPlatform(DesktopOptions o, const NetworkFactory& makeNetwork)
    : options(std::move(o)),
      clock(),
      loop(clock),
      log([p = printer(options)](const std::string& line) { p("log: " + line); }),
      urlOpener(options.openUrlsOnDesktop
                    ? std::make_unique<DesktopUrlOpener>(loop, [this](const std::string& line) { log.line(line); })
                    : nullptr),
      application(options.screen,
                  [this, p = printer(options)](const std::string& url) {
                      if (urlOpener) urlOpener->open(url);
                      else p("open: " + url);
                  }),
      bundle(options.resourceDir, options.version),
      ui(clock, loop, bundle, options.screen.width),
      notifications(),
      device(options.device, loop, notifications),
      settings(options.settingsPath.empty() ? platform::FileSettings::defaultPath() : options.settingsPath,
               [p = printer(options)](const std::string& line) { p("settings: " + line); }),
      audio([p = printer(options)](const std::string& line) { p(line); }, &loop),
      network(makeNetwork(log)),
      identity(settings),
      platform{clock, loop, log, application, bundle, ui, device, notifications, settings, audio, *network, identity} {
    // A save put off by another program's lock is tried again now and then.
    settings.setSaveDeferred([this] {
        loop.post([this] {
            if (saveRetry_.active()) return;
            saveRetry_ = loop.scheduleTimer(options.saveRetrySeconds, false, [this] { settings.synchronize(); });
        });
    });
}

DesktopPlatform::~DesktopPlatform() { settings.setSaveDeferred({}); }

}  // namespace vw::desktop
