// Drives the window's warnings (the rules and the desktop's notifier) on a
// real run loop, with a wall clock the caller moves, one command a line on
// standard input, one answer a line on standard output:
//
//   laptop PERCENT PHASE [LEVEL]    a reading of this computer (PHASE: discharging,
//                                   charging, full, held, unknown; LEVEL: the
//                                   service's warning level, 0 for none given)
//                                   -> "ok SECONDS", how long the call took
//   peripheral ID KIND MODEL PERCENT charging|discharging   -> "ok SECONDS"
//   advance SECONDS                 the wall clock moves on -> "ok"
//   settle                          the loop runs until no call is in flight or
//                                   waiting, then a little longer -> "ok"
//   run SECONDS                     the loop runs; a timer ticks every 50 ms -> "ran TICKS"
//   status                          -> "connected=0|1 waiting=N inflight=N"
//
//   vw_notify_driver --own-name     takes org.freedesktop.Notifications on the
//                                   session bus and never answers a call
#include <systemd/sd-bus.h>
#include <unistd.h>
#include <chrono>
#include <iostream>
#include <map>
#include <sstream>
#include "app/BatteryWarnings.h"
#include "platform/desktop/DesktopNotifier.h"
#include "tests/lib/RunLoop.h"

using namespace vw;

namespace {

// The wall clock moved by the caller; the loop's time is real.
struct DrivenClock final : platform::Clock {
    double now() const override { return real.now() + shift; }
    double monotonic() const override { return real.monotonic(); }
    platform::SystemClock real;
    double shift = 0;
};

// Owns the notification server's name and never reads from the bus again.
int ownName() {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0 || sd_bus_request_name(bus, "org.freedesktop.Notifications", 0) < 0) return 1;
    std::cout << "owned" << std::endl;
    for (;;) pause();
}
}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--own-name") return ownName();
    platform::SystemClock loopClock;
    platform::MainLoop loop(loopClock);
    DrivenClock clock;
    auto owned = std::make_unique<desktop::DesktopNotifier>(loop);
    desktop::DesktopNotifier& notifier = *owned;
    app::BatteryWarnings warnings(std::move(owned), clock);
    const std::map<std::string, history::Phase> phases = {
        {"discharging", history::Phase::Discharging}, {"charging", history::Phase::Charging},
        {"full", history::Phase::Full}, {"held", history::Phase::Held}, {"unknown", history::Phase::Unknown}};
    auto timed = [](auto call) {
        const auto start = std::chrono::steady_clock::now();
        call();
        std::cout << "ok " << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() << std::endl;
    };
    for (std::string line; std::getline(std::cin, line);) {
        std::istringstream in(line);
        std::string command, word;
        double number = 0;
        in >> command;
        if (command == "laptop") {
            uint32_t level = 0;
            history::Reading r;
            in >> r.percent >> word >> level;
            r.phase = phases.at(word);
            history::Figures figures;
            figures.rows[history::AtThisRate] = {history::Figure::Kind::Minutes, static_cast<int>(r.percent * 6), 0};
            timed([&] { warnings.laptop(r, level, "Test Laptop", figures); });
        } else if (command == "peripheral") {
            warnings::Peripheral p;
            in >> p.id >> p.kind >> p.model >> p.percent >> word;
            p.charging = word == "charging";
            timed([&] { warnings.peripheral(p); });
        } else if (command == "advance") {
            in >> number;
            clock.shift += number;
            std::cout << "ok" << std::endl;
        } else if (command == "settle") {
            testing::runUntil(loop, [&] { return !notifier.waiting() && !notifier.inFlight(); }, 10);
            testing::runFor(loop, 0.2);  // what was sent without an answer leaves
            std::cout << "ok" << std::endl;
        } else if (command == "run") {
            in >> number;
            int ticks = 0;
            auto ticker = loop.scheduleTimer(0.05, true, [&ticks] { ++ticks; });
            testing::runFor(loop, number);
            std::cout << "ran " << ticks << std::endl;
        } else if (command == "status") {
            std::cout << "connected=" << notifier.connected() << " waiting=" << notifier.waiting() << " inflight=" << notifier.inFlight()
                      << std::endl;
        } else {
            std::cout << "unknown command" << std::endl;
        }
    }
}
