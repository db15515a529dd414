#include "app/ScriptSession.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <cmath>
#include <memory>
#include <ostream>
#include <sstream>

#include "app/UserInput.h"
#include "app/VoltwiseAppDelegate.h"
#include "platform/FileSettings.h"
#include "platform/net/OfflineNetwork.h"
#include "platform/recording/RecordingPlatform.h"
#include "rating/RatingPrompt.h"

namespace vw::app {

using namespace platform;

std::optional<ScriptParseError> forEachScriptEvent(const std::string& text,
                                                  const std::function<void(const ScriptEvent&)>& fn) {
    std::size_t at = byteOrderMarkLength(text);  // a byte-order mark is no event
    bool launched = false;
    for (int lineNo = 1; at < text.size(); ++lineNo) {
        const std::size_t nl = text.find('\n', at);
        std::string raw = text.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
        at = nl == std::string::npos ? text.size() : nl + 1;
        if (const auto hash = raw.find('#'); hash != std::string::npos) raw.erase(hash);
        // Words and where each starts.
        std::vector<std::string> w;
        std::vector<std::size_t> from;
        for (std::size_t i = 0; i < raw.size();) {
            if (std::isspace(static_cast<unsigned char>(raw[i]))) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j < raw.size() && !std::isspace(static_cast<unsigned char>(raw[j]))) ++j;
            w.push_back(raw.substr(i, j - i));
            from.push_back(i);
            i = j;
        }
        if (w.empty()) continue;
        const std::string& verb = w[0];
        auto fail = [&](std::string m) { return ScriptParseError{lineNo, std::move(m)}; };
        auto expectArgs = [&](std::size_t lo, std::size_t hi) { return w.size() - 1 >= lo && w.size() - 1 <= hi; };
        // A whole number in [lo, hi], or an error naming the range.
        auto whole = [&](const std::string& word, long lo, long hi, const std::string& what) -> std::variant<int, ScriptParseError> {
            const auto v = parseWholeNumber(word, lo, hi, WholeForm::Number);
            if (!v)
                return fail(what + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                            ", not '" + shown(word) + "'");
            return static_cast<int>(*v);
        };
        ScriptEvent e{};
        e.line = lineNo;
        // The level and the state words of the level, state and battery events.
        auto levelWord = [&](const std::string& word) -> std::optional<ScriptParseError> {
            const auto v = parseLevel(word);
            if (!v) return fail("level must be 0.0 to 1.0, or -1, not '" + shown(word) + "'");
            e.number = *v;
            return std::nullopt;
        };
        auto stateWord = [&](const std::string& word) -> std::optional<ScriptParseError> {
            const auto s = parseBatteryState(word);
            if (!s) return fail("unknown state '" + shown(word) + "' (unknown, unplugged, charging, full)");
            e.state = *s;
            return std::nullopt;
        };
        using K = ScriptEvent::Kind;
        if (verb == "setting") {
            if (launched) return fail("settings go before the first event");
            if (w.size() < 3) return fail("setting needs a key and a value");
            e.kind = K::Setting;
            e.key = w[1];
            // The value is the rest of the line, as written.
            std::string v = raw.substr(from[2]);
            while (!v.empty() && std::isspace(static_cast<unsigned char>(v.back()))) v.pop_back();
            e.text = v;
            fn(e);
            continue;
        }
        launched = true;
        if (verb == "level") {
            if (!expectArgs(1, 1)) return fail("level needs one fraction");
            if (auto err = levelWord(w[1])) return *err;
            e.kind = K::Level;
        } else if (verb == "state") {
            if (!expectArgs(1, 1)) return fail("state needs one of unknown, unplugged, charging, full");
            if (auto err = stateWord(w[1])) return *err;
            e.kind = K::State;
        } else if (verb == "battery") {
            if (!expectArgs(2, 2)) return fail("battery needs a fraction and a state");
            if (auto err = levelWord(w[1])) return *err;
            if (auto err = stateWord(w[2])) return *err;
            e.kind = K::Battery;
        } else if (verb == "touch") {
            if (!expectArgs(2, 2)) return fail("touch needs x and y");
            const auto x = parseNumber(w[1]), y = parseNumber(w[2]);
            if (!x || !y) return fail("touch needs two numbers");
            if (std::fabs(*x) > 1e6 || std::fabs(*y) > 1e6) return fail("touch points must be from -1000000 to 1000000");
            e.kind = K::Touch;
            e.x = static_cast<float>(*x);
            e.y = static_cast<float>(*y);
        } else if (verb == "pick" || verb == "swipe" || verb == "alert") {
            const std::string what = verb == "pick" ? "pick row" : verb == "swipe" ? "swipe page" : "alert button";
            const long hi = verb == "pick" ? kMaxPickRow : verb == "swipe" ? kMaxSwipePage : kMaxAlertButton;
            if (!expectArgs(1, 1)) return fail(verb + " needs one whole number");
            auto v = whole(w[1], 0, hi, what);
            if (auto* err = std::get_if<ScriptParseError>(&v)) return *err;
            e.kind = verb == "pick" ? K::Pick : verb == "swipe" ? K::Swipe : K::Alert;
            e.count = std::get<int>(v);
        } else if (verb == "tick") {
            if (!expectArgs(0, 1)) return fail("tick takes at most a count");
            e.kind = K::Tick;
            if (w.size() == 2) {
                auto v = whole(w[1], 1, kMaxTicks, "tick count");
                if (auto* err = std::get_if<ScriptParseError>(&v)) return *err;
                e.count = std::get<int>(v);
            }
        } else if (verb == "wait") {
            if (!expectArgs(1, 1)) return fail("wait needs seconds");
            const auto v = parseNumber(w[1]);
            if (!v || *v < 0 || *v > kMaxWaitSeconds)
                return fail("wait needs a number of seconds from 0 to " + std::to_string(static_cast<long>(kMaxWaitSeconds)) +
                            ", not '" + shown(w[1]) + "'");
            e.kind = K::Wait;
            e.number = *v;
        } else if (verb == "animations-end") {
            if (!expectArgs(0, 0)) return fail("animations-end takes nothing");
            e.kind = K::AnimationsEnd;
        } else if (verb == "print") {
            if (!expectArgs(0, 0)) return fail("print takes nothing");
            e.kind = K::Print;
        } else {
            return fail("unknown event '" + shown(verb) + "'");
        }
        fn(e);
    }
    return std::nullopt;
}

std::variant<std::vector<ScriptEvent>, ScriptParseError> parseScript(const std::string& text) {
    std::vector<ScriptEvent> events;
    if (auto e = forEachScriptEvent(text, [&](const ScriptEvent& ev) { events.push_back(ev); })) return *e;
    return events;
}

namespace {

// What the screen shows, as text.
std::string screenText(VoltwiseViewController& c) {
    std::string s;
    if (c.textView) {
        s += c.textView->text();
        s += c.textView->textColor() == Colour::red() ? " red" : " white";
    }
    const char* mode = c.lateLoadingDone != 1       ? "loading"
                       : c.showingAdSlideShow == 1  ? "slide show"
                       : c.pickingSkins == 1        ? "picking skins"
                                                    : "normal";
    s += std::string(" [") + mode + "]\n";
    if (c.showingAdSlideShow == 1 && c.sv) {
        s += "  slide show page " + std::to_string(static_cast<int>(c.sv->contentOffset().x / 320.0f)) + "\n";
        return s;
    }
    if (c.imageViewSkin) {
        const auto& image = c.imageViewSkin->image();
        s += "  skin view: " + (image ? image->name : std::string("(blank)")) + "\n";
    }
    if (c.pickerView) {
        const auto& rows = c.pickerView->titles();
        const int selected = c.pickerView->selectedRowInComponent(0);
        // The skins as the wheel shows them: a few rows either side of the selection.
        const bool wheel = c.pickingSkins == 1;
        const int from = wheel ? std::max(0, selected - 2) : 0;
        const int to = wheel ? std::min(static_cast<int>(rows.size()), selected + 3) : static_cast<int>(rows.size());
        for (int i = from; i < to; ++i)
            s += (i == selected ? "> " : "  ") + rows[static_cast<std::size_t>(i)] + "\n";
    }
    return s;
}

}  // namespace

int runScript(const std::vector<ScriptEvent>& events, const SessionSetup& setup, std::ostream& out,
              const SessionFinished& finished) {
    return runScript(
        [&](const std::function<void(const ScriptEvent&)>& fn) {
            for (const auto& e : events) fn(e);
        },
        setup, out, finished);
}

int runScript(const ScriptEvents& events, const SessionSetup& setup, std::ostream& out, const SessionFinished& finished) {
    std::unique_ptr<FileSettings> fileSettings;
    if (setup.settingsPath)
        fileSettings = std::make_unique<FileSettings>(
            *setup.settingsPath,
            [&](const std::string& l) {
                if (setup.err) *setup.err << "voltwise: settings: " << oneLine(l) << "\n";
                else out << "log: settings: " << l << "\n";
            },
            setup.settingsReadOnly ? FileSettings::Access::ReadOnly : FileSettings::Access::ReadWrite);
    // With the network off, as in the window: nothing is sent, and the
    // rating prompt sees no connection.
    std::unique_ptr<net::OfflineNetwork> offline;
    if (!setup.config.networkEnabled) offline = std::make_unique<net::OfflineNetwork>();

    // Log lines are printed as they come, in order, however many there are;
    // they may come from the rating prompt's thread, so they wait here for
    // the main thread to print them.
    std::mutex logMutex;
    std::vector<std::string> logPending;
    RecordingOptions o;
    o.screenSize = Size{320, setup.screenHeight};
    o.device = setup.device;
    o.settings = fileSettings.get();
    o.network = offline.get();
    o.resourceDir = setup.resourceDir.empty() ? resourceDir() : setup.resourceDir;
    // A session may be long: no record of every platform call.
    o.trace = false;
    o.logSink = [&](const std::string& line) {
        std::lock_guard lock(logMutex);
        logPending.push_back(line);
    };
    RecordingPlatform rp(o);
    auto flushLog = [&] {
        std::vector<std::string> lines;
        {
            std::lock_guard lock(logMutex);
            lines.swap(logPending);
        }
        for (const auto& l : lines) out << "log: " << l << "\n";
    };
    VoltwiseViewController::resetProcessStateForTesting();
    rp.setBattery(setup.level, setup.state);
    VoltwiseAppDelegate app(rp.platform, setup.config);

    std::string shown;
    // Alerts show one at a time; the one on show is number `alertsAnswered`.
    std::size_t alertsAnswered = 0, alertsReported = 0;
    auto report = [&](bool force) {
        flushLog();
        // What was reported is let go of, so a long session does not grow.
        for (const auto& url : rp.openedUrls) out << "open: " << url << "\n";
        rp.openedUrls.clear();
        // A sound that could not be loaded (identifier 0) plays nothing.
        for (const uint32_t id : rp.audio.played)
            if (id != 0) out << "sound: chime\n";
        rp.audio.played.clear();
        if (const Alert* a = rp.ui.alerts().front(); a && alertsReported <= alertsAnswered) {
            std::string buttons;
            for (const auto& b : a->buttonTitles()) buttons += (buttons.empty() ? "" : " | ") + b;
            std::string title = a->title;
            for (auto& ch : title)
                if (ch == '\n') ch = ' ';
            out << "alert: " << title << " [" << buttons << "]\n";
            alertsReported = alertsAnswered + 1;
        }
        if (!app.viewController()) return;
        std::string now = screenText(*app.viewController());
        if (force || now != shown) out << "screen: " << now;
        shown = std::move(now);
    };

    bool launched = false;
    auto launch = [&] {
        if (launched) return;
        launched = true;
        app.applicationDidFinishLaunching(rp.application);
        // The rating prompt counts the launch on a thread of its own; let it
        // finish, so what it queues shows at the same point in every run and
        // nothing is left using the platform when the session ends.
        RatingPrompt::waitForBackgroundRuns(std::chrono::seconds(60));
        rp.runPending();
        report(false);
    };

    events([&](const ScriptEvent& e) {
        using K = ScriptEvent::Kind;
        if (e.kind == K::Setting) {
            rp.platform.settings.setObject(e.text, e.key);
            return;
        }
        launch();
        VoltwiseViewController& c = *app.viewController();
        switch (e.kind) {
            case K::Level: rp.setBattery(static_cast<float>(e.number), rp.plainDevice.rawState()); break;
            case K::State: rp.setBattery(rp.plainDevice.rawLevel(), e.state); break;
            case K::Battery: rp.setBattery(static_cast<float>(e.number), e.state); break;
            case K::Touch:
                // As in the window: an alert on show takes every touch.
                if (rp.ui.alerts().front())
                    out << "note: line " << e.line << ": the alert on show takes the touch (answer it with alert INDEX)\n";
                else
                    c.touchesBegan({Touch{{e.x, e.y}}}, nullptr);
                break;
            case K::Pick:
                if (c.pickerView) c.pickerView->userSelectRow(e.count);
                break;
            case K::Swipe:
                if (c.sv && c.showingAdSlideShow == 1) c.sv->userSwipeTo({320.0f * static_cast<float>(e.count), 0});
                else out << "note: line " << e.line << ": no slide show to swipe\n";
                break;
            case K::Alert:
                if (rp.ui.alerts().clickButtonAtIndex(e.count)) ++alertsAnswered;
                else out << "note: line " << e.line << ": no alert button " << e.count << "\n";
                break;
            case K::Tick:
                // Each tick, then half a second for what it set moving to settle.
                for (int i = 0; i < e.count; ++i) {
                    const auto next = rp.loop.nextTimerTime();
                    rp.advance((next ? std::max(0.0, *next - rp.clock.now()) : 4.0) + 0.5);
                }
                break;
            case K::Wait: rp.advance(e.number); break;
            case K::AnimationsEnd: rp.finishAnimations(); break;
            case K::Print: break;
            case K::Setting: break;
        }
        rp.runPending();
        report(e.kind == K::Print);
    });
    launch();
    flushLog();
    if (finished) finished(rp);
    return 0;
}

}  // namespace vw::app
