// A launched application on the recording double, and helpers to read the trace.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/VoltwiseAppDelegate.h"
#include "platform/recording/RecordingPlatform.h"

namespace vw::testing {

struct App {
    explicit App(platform::RecordingOptions options = {}, AppConfig config = {})
        : rp(std::move(options)), delegate(rp.platform, std::move(config)) {
        VoltwiseViewController::resetProcessStateForTesting();
        rp.setBattery(0.57f, BatteryState::Unplugged);  // tests change it before launching
    }

    void launch() { delegate.applicationDidFinishLaunching(rp.application); }
    // Launches, lets the first grow animation end and the first state report arrive.
    void launchToNormalMode() {
        launch();
        rp.advance(2.5);
    }
    VoltwiseViewController& c() { return *delegate.viewController(); }
    void touch(float x, float y) { c().touchesBegan({platform::Touch{{x, y}}}, nullptr); }
    std::vector<std::string> calls() const { return rp.calls(); }
    std::vector<std::string> log() const { return rp.log.lines(); }

    platform::RecordingPlatform rp;
    VoltwiseAppDelegate delegate;
};

// Index of the first call at or after `from` that equals `call`, or matches
// it as a prefix when `call` ends with '*'; -1 when there is none.
inline long findCall(const std::vector<std::string>& calls, const std::string& call, std::size_t from = 0) {
    const bool prefix = !call.empty() && call.back() == '*';
    const std::string want = prefix ? call.substr(0, call.size() - 1) : call;
    for (std::size_t i = from; i < calls.size(); ++i)
        if (prefix ? calls[i].rfind(want, 0) == 0 : calls[i] == want) return static_cast<long>(i);
    return -1;
}

// The calls appear in this order (others may come between).
inline ::testing::AssertionResult inOrder(const std::vector<std::string>& calls, const std::vector<std::string>& expected) {
    std::size_t from = 0;
    for (const auto& e : expected) {
        const long i = findCall(calls, e, from);
        if (i < 0) {
            std::string all;
            for (const auto& c : calls) all += "  " + c + "\n";
            return ::testing::AssertionFailure() << "missing, in order: " << e << "\nafter position " << from
                                                 << " of:\n" << all;
        }
        from = static_cast<std::size_t>(i) + 1;
    }
    return ::testing::AssertionSuccess();
}

inline std::size_t countCalls(const std::vector<std::string>& calls, const std::string& call) {
    std::size_t n = 0;
    for (std::size_t from = 0;;) {
        const long i = findCall(calls, call, from);
        if (i < 0) return n;
        ++n;
        from = static_cast<std::size_t>(i) + 1;
    }
}

}  // namespace vw::testing
