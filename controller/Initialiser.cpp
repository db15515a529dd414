// The controller's life: construction, the initialiser's steps (audio
// session, timer, settings and first run, the device), teardown.
#include "controller/VoltwiseViewController.h"
#include "platform/Numbers.h"

namespace vw {

using namespace platform;

namespace {
bool gStateSeenOnce = false;
}  // namespace

bool VoltwiseViewController::stateSeenOnce() { return gStateSeenOnce; }
void VoltwiseViewController::resetProcessStateForTesting() { gStateSeenOnce = false; }

// Shared with the battery handlers.
void setStateSeenOnce() { gStateSeenOnce = true; }

VoltwiseViewController::VoltwiseViewController(Platform& platform, AppConfig config, history::ThisComputer* computer)
    : p_(platform),
      config_(std::move(config)),
      skins_(platform),
      readout_(platform, [this](const std::string& id, bool finished, void* context) {
          animationHasFinished(id, finished, context);
      }),
      computer_(computer) {}

VoltwiseViewController::~VoltwiseViewController() {
    if (computer_) computer_->onChange(nullptr);
    // The timer and the observers call into this object: they go with it.
    slideTimer_.cancel();
    for (auto id : observers_) p_.notifications.removeObserver(id);
}

bool VoltwiseViewController::init() {
    setUpAudioSession();
    slideTimer_ = p_.loop.scheduleTimer(4.0, true, [this] { adSlideTimer(); });
    p_.application.setStatusBarHidden(true);
    bounds_ = p_.application.applicationFrame().value_or(Rect{});
    restoreSettingsOrFirstRun();
    classifyDevice();
    registerBatteryObservers();
    return true;
}

void VoltwiseViewController::setUpAudioSession() {
    p_.audio.sessionInitialize();
    // A query that fails leaves "no other audio", so the solo category.
    const uint32_t otherAudioIsPlaying = p_.audio.sessionGetProperty(kAudioSessionPropertyOtherAudioIsPlaying).value_or(0);
    const uint32_t category =
        otherAudioIsPlaying != 0 ? kAudioSessionCategoryAmbientSound : kAudioSessionCategorySoloAmbientSound;
    p_.audio.sessionSetProperty(kAudioSessionPropertyAudioCategory, category);
    p_.audio.sessionSetActive(true);
}

void VoltwiseViewController::restoreSettingsOrFirstRun() {
    const auto version = p_.settings.stringForKey(kSettingsVersionKey);
    if (version && *version == kCurrentSettingsVersion) {
        skins_.restore();
        return;
    }
    p_.settings.setObject(kCurrentSettingsVersion, kSettingsVersionKey);
    skins_.store();
    p_.settings.synchronize();
    showFirstInstallAlert();
    sendAttributionRequest();
}

void VoltwiseViewController::showAlert(const Alert& alert) { p_.ui.alerts().show(alert); }

void VoltwiseViewController::showFirstInstallAlert() {
    Alert a;
    a.title = "Thanks for Installing\nVoltwise FREE 5.0";
    a.message =
        "If you like this FREE version of Voltwise, you will LOVE our new ULTRA version - ON SALE NOW!!! Click on the "
        "'Discover Ultra' button to see more!\n\n"
        "Please let us know how we can improve Voltwise, by sending an email to " +
        config_.supportEmail + ".\n\nThanks for your support from all of us at " + config_.makerName;
    a.cancelButtonTitle = "OK";
    showAlert(a);
}

void VoltwiseViewController::sendAttributionRequest() {
    UrlRequest r;
    r.url = "http://" + config_.attributionHost + "/app.php?idfa=" + percentEncoded(p_.identity.advertisingIdentifier()) +
            "&appid=" + percentEncoded(std::to_string(config_.appStoreId));
    // The answer and any error are ignored, and it is not tried again.
    p_.network.startRequest(r);
}

void VoltwiseViewController::classifyDevice() {
    const std::string model = p_.device.model();
    const std::string systemVersion = p_.device.systemVersion();
    const std::string machine = p_.device.machine();
    p_.log.format("device version: %s", machine.c_str());
    if (static_cast<float>(leadingDecimal(systemVersion)) < 3.0f) {
        Alert a;
        a.title = "Software 3.0 Update Required";
        a.message = "Voltwise requires that your device be updated to OS 3.0 or later";
        a.cancelButtonTitle = "OK";
        showAlert(a);
    }
    profile_ = profileForDevice(model, machine);
}

std::shared_ptr<View> VoltwiseViewController::view() {
    if (!view_) loadView();
    return view_;
}

void VoltwiseViewController::didReceiveMemoryWarning() {}

bool VoltwiseViewController::shouldAutorotateToInterfaceOrientation(int orientation) const { return orientation == 1; }

}  // namespace vw
