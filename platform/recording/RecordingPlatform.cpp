#include "platform/recording/RecordingPlatform.h"

#include <cstdio>

namespace vw::platform {

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

std::optional<uint32_t> RecordingNetwork::reachabilityFlags() {
    traceCall(trace_, "network.reachabilityFlags", {});
    std::lock_guard lock(mutex_);
    return flags;
}

// ---- the platform ----

RecordingPlatform::RecordingPlatform(RecordingOptions o)
    : clock(),
      loop(clock, o.trace ? &trace : nullptr),
      log(o.logSink, o.trace ? &trace : nullptr),
      application(o.screenSize, [this](const std::string& url) { openedUrls.push_back(url); }, o.trace ? &trace : nullptr),
      bundle(o.resourceDir.empty() ? builtResourceDir() : o.resourceDir, o.version),
      ui(clock, loop, bundle, o.screenSize ? o.screenSize->width : 320.0f, o.trace ? &trace : nullptr),
      notifications(o.trace ? &trace : nullptr),
      device(o.device, loop, notifications, o.trace ? &trace : nullptr),
      settings(o.trace ? &trace : nullptr),
      audio(o.trace ? &trace : nullptr),
      network(o.trace ? &trace : nullptr),
      identity(o.settings ? *o.settings : settings),
      platform{clock, loop, log, application, bundle, ui, device, notifications, o.settings ? *o.settings : settings,
               audio, o.network ? *o.network : network, identity, o.trace ? &trace : nullptr} {
    // A fixed identifier so recorded requests are predictable.
    settings.preload(AdvertisingIdentity::kSettingsKey, std::string("6D92078A-8246-4BA4-AE5B-76104861E7DC"));
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
    const double end = clock.now() + seconds;
    runPending();
    for (;;) {
        std::optional<double> next = loop.nextTimerTime();
        const std::optional<double> anim = ui.animator().nextEndTime();
        if (anim && (!next || *anim < *next)) next = anim;
        if (!next || *next > end) break;
        if (*next > clock.now()) clock.set(*next);
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
