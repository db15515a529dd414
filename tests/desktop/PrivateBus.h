// A bus daemon of our own in a scratch folder, made the system bus while the
// object lives, and one connection on it that serves the test's objects from
// a thread of its own.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "tests/lib/Scratch.h"

namespace vw::testing {

class PrivateSystemBus {
public:
    // `serve` takes names and adds objects on the connection; false when it
    // could not.
    explicit PrivateSystemBus(const std::function<bool(sd_bus*)>& serve) {
        if ((daemon_ = ::fork()) == 0) {
            ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile", "--nosyslog",
                     ("--address=" + address_).c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 200 && !std::filesystem::exists(dir_ / "bus"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (sd_bus_new(&bus_) < 0 || sd_bus_set_address(bus_, address_.c_str()) < 0 || sd_bus_set_bus_client(bus_, 1) < 0 ||
            sd_bus_start(bus_) < 0 || !serve(bus_))
            return;
        env_.emplace("DBUS_SYSTEM_BUS_ADDRESS", address_);
        serving_ = std::thread([this] {
            while (!stop_)
                if (sd_bus_process(bus_, nullptr) <= 0) sd_bus_wait(bus_, 50'000);
        });
    }
    ~PrivateSystemBus() {
        leave();
        if (daemon_ > 0) ::kill(daemon_, SIGTERM), ::waitpid(daemon_, nullptr, 0);
    }
    PrivateSystemBus(const PrivateSystemBus&) = delete;
    PrivateSystemBus& operator=(const PrivateSystemBus&) = delete;

    bool ready() const { return env_.has_value(); }
    // The serving connection closes: its names leave the bus.
    void leave() {
        stop_ = true;
        if (serving_.joinable()) serving_.join();
        if (bus_) sd_bus_flush_close_unref(bus_);
        bus_ = nullptr;
    }

private:
    test::TempDir dir_;
    const std::string address_ = "unix:path=" + (dir_ / "bus").string();
    pid_t daemon_ = -1;
    sd_bus* bus_ = nullptr;
    std::optional<test::ScopedEnv> env_;
    std::atomic<bool> stop_{false};
    std::thread serving_;
};

}  // namespace vw::testing
