#include "app/ScriptSession.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <ostream>

#include "app/UserInput.h"
#include "app/VoltwiseAppDelegate.h"
#include "platform/FileSettings.h"
#include "platform/net/OfflineNetwork.h"
#include "platform/recording/RecordingPlatform.h"
#include "rating/RatingPrompt.h"

namespace vw::app {

using namespace platform;

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

const char* modeName(Mode m) {
    switch (m) {
        case Mode::Loading: return "loading";
        case Mode::Normal: return "normal";
        case Mode::SkinPicking: return "picking skins";
        case Mode::SlideShow: return "slide show";
        case Mode::History: return "history";
    }
    return "";
}

// What the screen shows, as text.
std::string screenText(const VoltwiseViewController& c, View& screen) {
    std::string s;
    if (const auto* text = findView<TextView>(screen, "textView")) {
        s += text->text();
        s += text->textColor() == Colour::red() ? " red" : " white";
    }
    s += std::string(" [") + modeName(c.mode()) + "]\n";
    if (c.mode() == Mode::History) {
        for (const char* name : {"historyTitle", "historyPowerLabel", "historyHealth"})
            if (const auto* t = findView<TextView>(screen, name))
                for (std::size_t at = 0; at < t->text().size();) {
                    const std::size_t end = std::min(t->text().find('\n', at), t->text().size());
                    s += "  " + t->text().substr(at, end - at) + "\n";
                    at = end + 1;
                }
        return s;
    }
    const auto* pager = findView<ScrollView>(screen, "sv");
    if (c.mode() == Mode::SlideShow && pager) {
        s += "  slide show page " + std::to_string(static_cast<int>(pager->contentOffset().x / 320.0f)) + "\n";
        return s;
    }
    if (const auto* skin = findView<ImageView>(screen, "imageViewSkin")) {
        const auto& image = skin->image();
        s += "  skin view: " + (image ? image->name : std::string("(blank)")) + "\n";
    }
    if (const auto* picker = findView<PickerView>(screen, "pickerView")) {
        const auto& rows = picker->titles();
        const int selected = picker->selectedRowInComponent(0);
        // The skins as the wheel shows them: a few rows either side of the selection.
        const bool wheel = c.mode() == Mode::SkinPicking;
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
    VoltwiseAppDelegate app(rp.platform, setup.config, setup.computer);

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
        std::string now = screenText(*app.viewController(), *app.window());
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
        if (const auto* setting = std::get_if<script::Setting>(&e.event)) {
            rp.platform.settings.setObject(setting->value, setting->key);
            return;
        }
        launch();
        VoltwiseViewController& c = *app.viewController();
        View& screen = *app.window();
        std::visit(Overloaded{
                       [&](const script::Setting&) {},
                       [&](const script::Level& l) { rp.setBattery(l.level, rp.plainDevice.rawState()); },
                       [&](const script::State& st) { rp.setBattery(rp.plainDevice.rawLevel(), st.state); },
                       [&](const script::Battery& b) { rp.setBattery(b.level, b.state); },
                       [&](const script::Touch& t) {
                           // As in the window: an alert on show takes every touch.
                           if (rp.ui.alerts().front())
                               out << "note: line " << e.line
                                   << ": the alert on show takes the touch (answer it with alert INDEX)\n";
                           else
                               c.touchesBegan({Touch{{t.x, t.y}}}, nullptr);
                       },
                       [&](const script::Pick& p) {
                           if (auto* picker = findView<PickerView>(screen, "pickerView")) picker->userSelectRow(p.row);
                       },
                       [&](const script::Swipe& sw) {
                           auto* pager = findView<ScrollView>(screen, "sv");
                           if (pager && c.mode() == Mode::SlideShow)
                               pager->userSwipeTo({320.0f * static_cast<float>(sw.page), 0});
                           else
                               out << "note: line " << e.line << ": no slide show to swipe\n";
                       },
                       [&](const script::Alert& a) {
                           if (rp.ui.alerts().clickButtonAtIndex(a.button)) ++alertsAnswered;
                           else out << "note: line " << e.line << ": no alert button " << a.button << "\n";
                       },
                       [&](const script::Tick& t) {
                           // Each tick, then half a second for what it set moving to settle.
                           for (int i = 0; i < t.count; ++i) {
                               const auto next = rp.loop.nextTimerTime();
                               rp.advance((next ? std::max(0.0, *next - rp.clock.now()) : 4.0) + 0.5);
                           }
                       },
                       [&](const script::Wait& w) { rp.advance(w.seconds); },
                       [&](const script::AnimationsEnd&) { rp.finishAnimations(); },
                       [&](const script::Print&) {},
                       [&](const script::History&) {
                           if (!c.showHistory())
                               out << "note: line " << e.line
                                   << ": no history to show (this computer's battery only, from the readout)\n";
                       },
                   },
                   e.event);
        rp.runPending();
        report(std::holds_alternative<script::Print>(e.event));
    });
    launch();
    flushLog();
    if (finished) finished(rp);
    return 0;
}

}  // namespace vw::app
