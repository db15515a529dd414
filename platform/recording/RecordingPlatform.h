// The recording test double of the platform layer. Every platform operation
// is recorded in `trace` with its arguments, in order: the services the
// application is given are recorders around the real ones, each writing the
// call down and forwarding it. Time, the battery, the screen size, touches,
// alerts and the user's scrolling are driven by the test.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/ResourceDir.h"

namespace vw::platform {

// ---- recorders around the real services; a null trace records nothing ----

class RecordingApplication final : public Application {
public:
    RecordingApplication(Application& inner, Trace* trace) : inner_(inner), trace_(trace) {}
    void setStatusBarHidden(bool hidden) override;
    void openURL(const std::string& url) override;
    std::optional<Rect> screenBounds() const override;
    std::optional<Rect> applicationFrame() const override;

private:
    Application& inner_;
    Trace* trace_;
};

class RecordingDevice final : public Device {
public:
    RecordingDevice(Device& inner, Trace* trace) : inner_(inner), trace_(trace) {}
    std::string model() const override;
    std::string systemVersion() const override;
    std::string machine() const override;
    float batteryLevel() const override;
    BatteryState batteryState() const override;
    void setBatteryMonitoringEnabled(bool enabled) override;

private:
    Device& inner_;
    Trace* trace_;
};

class RecordingNotificationCenter final : public NotificationCenter {
public:
    RecordingNotificationCenter(NotificationCenter& inner, Trace* trace) : inner_(inner), trace_(trace) {}
    ObserverId addObserver(const std::string& observer, const std::string& selector, const std::string& name,
                           Handler handler) override;
    void removeObserver(ObserverId id) override { inner_.removeObserver(id); }
    void post(const std::string& name) override;

private:
    NotificationCenter& inner_;
    Trace* trace_;
};

// Reads are recorded with what they read, writes with what they wrote.
class RecordingSettings final : public Settings {
public:
    RecordingSettings(Settings& inner, Trace* trace) : inner_(inner), trace_(trace) {}
    std::optional<std::string> stringForKey(const std::string& key) const override;
    double doubleForKey(const std::string& key) const override;
    int64_t integerForKey(const std::string& key) const override;
    bool boolForKey(const std::string& key) const override;
    void setObject(const std::string& value, const std::string& key) override;
    void setDouble(double value, const std::string& key) override;
    void setInteger(int64_t value, const std::string& key) override;
    void setBool(bool value, const std::string& key) override;
    void removeObject(const std::string& key) override;
    bool synchronize() override;
    void exclusive(const std::function<void()>& body) override { inner_.exclusive(body); }
    std::map<std::string, SettingValue> snapshot() const override { return inner_.snapshot(); }

private:
    Settings& inner_;
    Trace* trace_;
};

// The loop itself, recording the timers scheduled on it.
class RecordingMainLoop final : public MainLoop {
public:
    RecordingMainLoop(const Clock& clock, Trace* trace) : MainLoop(clock), trace_(trace) {}
    Timer scheduleTimer(double interval, bool repeats, std::function<void()> fire) override;

private:
    Trace* trace_;
};

// ---- recording stand-ins for sound and the network ----

class RecordingAudioPlayer final : public AudioPlayer {
public:
    RecordingAudioPlayer(std::string path, Trace* trace) : path_(std::move(path)), trace_(trace) {}
    void setVolume(float v) override;
    void setNumberOfLoops(int loops) override;
    void prepareToPlay() override;
    void play() override;
    void stop() override;
    void setCurrentTime(double seconds) override;
    double currentTime() const override { return time_; }
    bool isPlaying() const override { return playing_; }
    float volume() const { return volume_; }
    int numberOfLoops() const { return loops_; }

private:
    std::string path_;
    Trace* trace_;
    float volume_ = 1;
    int loops_ = 0;
    bool playing_ = false;
    double time_ = 0;
};

class RecordingAudio final : public Audio {
public:
    explicit RecordingAudio(Trace* trace) : trace_(trace) {}
    void sessionInitialize() override;
    std::optional<uint32_t> sessionGetProperty(uint32_t property) override;
    void sessionSetProperty(uint32_t property, uint32_t value) override;
    void sessionSetActive(bool active) override;
    uint32_t createSystemSound(const std::string& path) override;
    void playSystemSound(uint32_t id) override;
    void disposeSystemSound(uint32_t id) override;
    std::shared_ptr<AudioPlayer> createPlayer(const std::string& path) override;

    // Driven by tests.
    bool otherAudioPlaying = false;
    bool sessionQueryFails = false;
    bool soundsFail = false;  // createSystemSound and createPlayer fail
    std::vector<uint32_t> played;
    std::shared_ptr<RecordingAudioPlayer> lastPlayer;

private:
    Trace* trace_;
    uint32_t nextSound_ = 4096;
};

class RecordingNetwork final : public Network {
public:
    explicit RecordingNetwork(Trace* trace) : trace_(trace) {}
    bool startRequest(const UrlRequest& request) override;
    Result<uint32_t> reachabilityFlags() override;

    // Driven by tests.
    std::optional<uint32_t> flags = kReachabilityReachable;
    bool connectionsFail = false;
    std::vector<UrlRequest> requests;

private:
    Trace* trace_;
    mutable std::mutex mutex_;
};

struct RecordingOptions {
    std::optional<Size> screenSize = Size{320, 480};  // absent: no main screen
    DeviceInfo device;
    std::string resourceDir;  // empty: the built resources
    std::string version = "5.0";
    Settings* settings = nullptr;  // a store to use instead of the in-memory one (recorded all the same)
    Network* network = nullptr;    // a network to use instead of the recording one
    bool trace = true;             // false: record no calls (a long session stays small)
    Log::Sink logSink;             // also hears every log line as it is written
};

class RecordingPlatform {
public:
    explicit RecordingPlatform(RecordingOptions options = {});
    ~RecordingPlatform();

    // The application is given the recorders (application, notifications,
    // device, settings); each wraps the plain service before it, which
    // tests drive unrecorded (the battery's readings, stored values).
    Trace trace;
    ManualClock clock;
    RecordingMainLoop loop;
    Log log;  // its lines are recorded as they are written
    BasicApplication plainApplication;
    RecordingApplication application;
    Bundle bundle;
    Ui ui;
    BasicNotificationCenter plainNotifications;
    RecordingNotificationCenter notifications;
    BasicDevice plainDevice;  // posts through `notifications`
    RecordingDevice device;
    MemorySettings plainSettings;  // preload() puts stored values in place unrecorded
    RecordingSettings settings;    // around options.settings when given
    RecordingAudio audio;
    RecordingNetwork network;
    AdvertisingIdentity identity;
    Platform platform;

    std::vector<std::string> openedUrls;

    // The battery reports a new reading (notified through the main loop; call
    // runPending or advance to deliver).
    void setBattery(float level, BatteryState state) { plainDevice.updateBattery(level, state); }

    // Runs queued work and due timers until nothing more is due now.
    void runPending();
    // Lets `seconds` pass: timers fire at their times, animations move and
    // end at theirs, queued work runs.
    void advance(double seconds);
    // Ends every running animation now and delivers what that causes.
    void finishAnimations();

    std::vector<std::string> calls() const { return trace.calls(); }
    // Calls recorded since the last mark.
    void mark() { mark_ = trace.calls().size(); }
    std::vector<std::string> callsSinceMark() const;

private:
    RecordingPlatform(RecordingOptions& options, Trace* recorded);
    std::size_t mark_ = 0;
};

}  // namespace vw::platform
