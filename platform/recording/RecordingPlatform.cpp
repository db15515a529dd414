#include "platform/recording/RecordingPlatform.h"

#include <cstdio>

namespace vw::platform {

// ---- recorders ----

void RecordingApplication::setStatusBarHidden(bool hidden) {
    traceCall(trace_, "application.setStatusBarHidden", {boolText(hidden)});
    inner_.setStatusBarHidden(hidden);
}

void RecordingApplication::openURL(const std::string& url) {
    traceCall(trace_, "application.openURL", {quoteText(url)});
    inner_.openURL(url);
}

std::optional<Rect> RecordingApplication::screenBounds() const {
    traceCall(trace_, "screen.bounds", {});
    return inner_.screenBounds();
}

std::optional<Rect> RecordingApplication::applicationFrame() const {
    traceCall(trace_, "screen.applicationFrame", {});
    return inner_.applicationFrame();
}

std::string RecordingDevice::model() const {
    traceCall(trace_, "device.model", {});
    return inner_.model();
}

std::string RecordingDevice::systemVersion() const {
    traceCall(trace_, "device.systemVersion", {});
    return inner_.systemVersion();
}

std::string RecordingDevice::machine() const {
    traceCall(trace_, "sysctlbyname", {quoteText("hw.machine")});
    return inner_.machine();
}

float RecordingDevice::batteryLevel() const {
    const float v = inner_.batteryLevel();
    traceCall(trace_, "device.batteryLevel", {traceNumber(static_cast<double>(v))});
    return v;
}

BatteryState RecordingDevice::batteryState() const {
    const BatteryState s = inner_.batteryState();
    traceCall(trace_, "device.batteryState", {std::to_string(static_cast<int>(s))});
    return s;
}

void RecordingDevice::setBatteryMonitoringEnabled(bool enabled) {
    traceCall(trace_, "device.setBatteryMonitoringEnabled", {boolText(enabled)});
    inner_.setBatteryMonitoringEnabled(enabled);
}

NotificationCenter::ObserverId RecordingNotificationCenter::addObserver(const std::string& observer,
                                                                        const std::string& selector,
                                                                        const std::string& name, Handler handler) {
    traceCall(trace_, "addObserver", {observer, selector, name, "nil"});
    return inner_.addObserver(observer, selector, name, std::move(handler));
}

// Recorded before delivery: what the observers do follows it.
void RecordingNotificationCenter::post(const std::string& name) {
    traceCall(trace_, "postNotification", {name});
    inner_.post(name);
}

std::optional<std::string> RecordingSettings::stringForKey(const std::string& key) const {
    const auto r = inner_.stringForKey(key);
    traceCall(trace_, "settings.stringForKey", {quoteText(key), r ? quoteText(*r) : "nil"});
    return r;
}

double RecordingSettings::doubleForKey(const std::string& key) const {
    const double r = inner_.doubleForKey(key);
    traceCall(trace_, "settings.doubleForKey", {quoteText(key), settingNumberText(r)});
    return r;
}

int64_t RecordingSettings::integerForKey(const std::string& key) const {
    const int64_t r = inner_.integerForKey(key);
    traceCall(trace_, "settings.integerForKey", {quoteText(key), std::to_string(r)});
    return r;
}

bool RecordingSettings::boolForKey(const std::string& key) const {
    const bool r = inner_.boolForKey(key);
    traceCall(trace_, "settings.boolForKey", {quoteText(key), boolText(r)});
    return r;
}

void RecordingSettings::setObject(const std::string& value, const std::string& key) {
    inner_.setObject(value, key);
    traceCall(trace_, "settings.setObject", {quoteText(value), quoteText(key)});
}

void RecordingSettings::setDouble(double value, const std::string& key) {
    inner_.setDouble(value, key);
    traceCall(trace_, "settings.setDouble", {settingNumberText(value), quoteText(key)});
}

void RecordingSettings::setInteger(int64_t value, const std::string& key) {
    inner_.setInteger(value, key);
    traceCall(trace_, "settings.setInteger", {std::to_string(value), quoteText(key)});
}

void RecordingSettings::setBool(bool value, const std::string& key) {
    inner_.setBool(value, key);
    traceCall(trace_, "settings.setBool", {boolText(value), quoteText(key)});
}

void RecordingSettings::removeObject(const std::string& key) {
    inner_.removeObject(key);
    traceCall(trace_, "settings.removeObject", {quoteText(key)});
}

bool RecordingSettings::synchronize() {
    const bool ok = inner_.synchronize();
    traceCall(trace_, "settings.synchronize", {});
    return ok;
}

MainLoop::Timer RecordingMainLoop::scheduleTimer(double interval, bool repeats, std::function<void()> fire) {
    traceCall(trace_, "scheduleTimer", {traceNumber(interval), repeats ? "repeats" : "once"});
    return MainLoop::scheduleTimer(interval, repeats, std::move(fire));
}

// ---- audio ----

void RecordingAudioPlayer::setVolume(float v) {
    traceCall(trace_, "audioPlayer.setVolume", {traceNumber(v)});
    volume_ = v;
}
void RecordingAudioPlayer::setNumberOfLoops(int loops) {
    traceCall(trace_, "audioPlayer.setNumberOfLoops", {std::to_string(loops)});
    loops_ = loops;
}
void RecordingAudioPlayer::prepareToPlay() { traceCall(trace_, "audioPlayer.prepareToPlay", {}); }
void RecordingAudioPlayer::play() {
    traceCall(trace_, "audioPlayer.play", {traceNumber(time_)});
    playing_ = true;
}
void RecordingAudioPlayer::stop() {
    traceCall(trace_, "audioPlayer.stop", {});
    playing_ = false;
}
void RecordingAudioPlayer::setCurrentTime(double seconds) {
    traceCall(trace_, "audioPlayer.setCurrentTime", {traceNumber(seconds)});
    time_ = seconds;
}

void RecordingAudio::sessionInitialize() { traceCall(trace_, "audioSession.initialize", {"nil", "nil", "nil", "nil"}); }

std::optional<uint32_t> RecordingAudio::sessionGetProperty(uint32_t property) {
    traceCall(trace_, "audioSession.getProperty", {fourCharText(property), "4"});
    if (sessionQueryFails) return std::nullopt;
    if (property == kAudioSessionPropertyOtherAudioIsPlaying) return otherAudioPlaying ? 1u : 0u;
    return 0u;
}

void RecordingAudio::sessionSetProperty(uint32_t property, uint32_t value) {
    traceCall(trace_, "audioSession.setProperty", {fourCharText(property), fourCharText(value)});
}

void RecordingAudio::sessionSetActive(bool active) { traceCall(trace_, "audioSession.setActive", {boolText(active)}); }

uint32_t RecordingAudio::createSystemSound(const std::string& path) {
    const uint32_t id = soundsFail || path.empty() ? 0 : nextSound_++;
    traceCall(trace_, "systemSound.create", {quoteText(path), std::to_string(id)});
    return id;
}

void RecordingAudio::playSystemSound(uint32_t id) {
    traceCall(trace_, "systemSound.play", {std::to_string(id)});
    played.push_back(id);
}

void RecordingAudio::disposeSystemSound(uint32_t id) { traceCall(trace_, "systemSound.dispose", {std::to_string(id)}); }

std::shared_ptr<AudioPlayer> RecordingAudio::createPlayer(const std::string& path) {
    traceCall(trace_, "audioPlayer.create", {quoteText(path)});
    if (soundsFail || path.empty()) return nullptr;
    lastPlayer = std::make_shared<RecordingAudioPlayer>(path, trace_);
    return lastPlayer;
}

// ---- network ----

bool RecordingNetwork::startRequest(const UrlRequest& r) {
    traceCall(trace_, "network.startRequest",
              {quoteText(r.url), std::to_string(static_cast<int>(r.cachePolicy)), traceNumber(r.timeoutSeconds)});
    std::lock_guard lock(mutex_);
    requests.push_back(r);
    return !connectionsFail;
}

Result<uint32_t> RecordingNetwork::reachabilityFlags() {
    traceCall(trace_, "network.reachabilityFlags", {});
    std::lock_guard lock(mutex_);
    if (!flags) return Error{"no flags (the test's choice)"};
    return *flags;
}

// ---- the platform ----

namespace {

// The log's sink: records the line, then hands it on.
Log::Sink recordingSink(Trace* trace, Log::Sink next) {
    return [trace, next = std::move(next)](const std::string& line) {
        traceCall(trace, "log", {quoteText(line)});
        if (next) next(line);
    };
}

}  // namespace

RecordingPlatform::RecordingPlatform(RecordingOptions o) : RecordingPlatform(o, o.trace ? &trace : nullptr) {}

RecordingPlatform::RecordingPlatform(RecordingOptions& o, Trace* t)
    : clock(),
      loop(clock, t),
      log(recordingSink(t, o.logSink)),
      plainApplication(o.screenSize, [this](const std::string& url) { openedUrls.push_back(url); }),
      application(plainApplication, t),
      bundle(o.resourceDir.empty() ? builtResourceDir() : o.resourceDir, o.version),
      ui(clock, loop, bundle, o.screenSize ? o.screenSize->width : 320.0f, t),
      notifications(plainNotifications, t),
      plainDevice(o.device, loop, notifications),
      device(plainDevice, t),
      settings(o.settings ? *o.settings : plainSettings, t),
      audio(t),
      network(t),
      identity(settings),
      platform{clock, loop, log, application, bundle, ui, device, notifications, settings,
               audio, o.network ? *o.network : network, identity} {
    // A fixed identifier so recorded requests are predictable.
    plainSettings.preload(AdvertisingIdentity::kSettingsKey, std::string("6D92078A-8246-4BA4-AE5B-76104861E7DC"));
}

RecordingPlatform::~RecordingPlatform() = default;

void RecordingPlatform::runPending() {
    // Bounded, in case work keeps posting more work.
    for (int i = 0; i < 10000; ++i) {
        ui.animator().tick();
        if (!loop.runDue()) return;
    }
}

void RecordingPlatform::advance(double seconds) {
    const double end = clock.monotonic() + seconds;
    runPending();
    for (;;) {
        std::optional<double> next = loop.nextTimerTime();
        const std::optional<double> anim = ui.animator().nextEndTime();
        if (anim && (!next || *anim < *next)) next = anim;
        if (!next || *next > end) break;
        if (*next > clock.monotonic()) clock.set(*next);
        runPending();
    }
    clock.set(end);
    runPending();
}

void RecordingPlatform::finishAnimations() {
    ui.animator().finishAll();
    runPending();
}

std::vector<std::string> RecordingPlatform::callsSinceMark() const {
    auto all = trace.calls();
    if (mark_ >= all.size()) return {};
    return {all.begin() + static_cast<std::ptrdiff_t>(mark_), all.end()};
}

}  // namespace vw::platform
