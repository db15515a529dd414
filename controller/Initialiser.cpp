// The controller's life: construction, the initialiser's steps (audio
// session, timer, flags, skins, settings and first run, the device), teardown.
#include "controller/VoltwiseViewController.h"
#include "screen/SkinCatalogue.h"

namespace vw {

using namespace platform;

namespace {
bool gStateSeenOnce = false;
}  // namespace

bool VoltwiseViewController::stateSeenOnce() { return gStateSeenOnce; }
void VoltwiseViewController::resetProcessStateForTesting() { gStateSeenOnce = false; }

// Shared with the battery handlers.
void setStateSeenOnce() { gStateSeenOnce = true; }

VoltwiseViewController::VoltwiseViewController(Platform& platform, AppConfig config)
    : p_(platform), config_(std::move(config)) {}

VoltwiseViewController::~VoltwiseViewController() {
    if (batteryAlert != 0) p_.audio.disposeSystemSound(batteryAlert);
    // The timer and the observers call into this object: they go with it.
    slideTimer_.cancel();
    for (auto id : observers_) p_.notifications.removeObserver(id);
}

bool VoltwiseViewController::init() {
    setUpAudioSession();
    slideTimer_ = p_.loop.scheduleTimer(4.0, true, [this] { adSlideTimer(); });
    isIpad = 0;
    lateLoadingDone = 0;
    p_.application.setStatusBarHidden(true);
    showingAdSlideShow = 0;
    pickingSkins = 0;
    beepOnLoad = 1;
    bounds = p_.application.applicationFrame().value_or(Rect{});
    loadSkinCatalogue();
    restoreSettingsOrFirstRun();
    readDevice();
    checkSystemVersion();
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

void VoltwiseViewController::loadSkinCatalogue() {
    skinsTitles.clear();
    skinsFiles.clear();
    for (const auto& row : kSkinCatalogue) {
        skinsTitles.emplace_back(row.title);
        skinsFiles.emplace_back(row.file);
    }
}

void VoltwiseViewController::restoreSettingsOrFirstRun() {
    vwfVersion = p_.settings.stringForKey(kSettingsVersionKey);
    skinFileInUse = std::string(kDefaultSkinFile);
    skinRowSelected = kDefaultSkinRow;

    if (vwfVersion && *vwfVersion == kCurrentSettingsVersion) {
        const auto file = p_.settings.stringForKey(kSkinFileKey);
        if (!file) {
            skinFileInUse = std::string(kDefaultSkinFile);
            skinRowSelected = kDefaultSkinRow;
            return;
        }
        skinFileInUse = *file;
        skinRowSelectedStr = p_.settings.stringForKey(kSkinRowSelectedKey);
        skinRowSelected = truncatedInt32(leadingDecimal(skinRowSelectedStr.value_or("")));
        return;
    }

    defaults = &p_.settings;
    defaults->setObject(kCurrentSettingsVersion, kSettingsVersionKey);
    defaults->setObject(std::string(kDefaultSkinFile), kSkinFileKey);
    defaults->setObject("1", kSkinRowSelectedKey);
    defaults->synchronize();
    showFirstInstallAlert();
    sendAttributionRequest();
}

void VoltwiseViewController::showAlert(Alert a) {
    alert = std::move(a);
    p_.ui.alerts().show(*alert);
    alert.reset();  // given up right after asking it to show
}

void VoltwiseViewController::showFirstInstallAlert() {
    Alert a;
    a.title = "Thanks for Installing\nVoltwise FREE 5.0";
    a.message =
        "If you like this FREE version of Voltwise, you will LOVE our new ULTRA version - ON SALE NOW!!! Click on the "
        "'Discover Ultra' button to see more!\n\n"
        "Please let us know how we can improve Voltwise, by sending an email to " +
        config_.supportEmail + ".\n\nThanks for your support from all of us at " + config_.makerName;
    a.cancelButtonTitle = "OK";
    showAlert(std::move(a));
}

void VoltwiseViewController::sendAttributionRequest() {
    UrlRequest r;
    r.url = "http://" + config_.attributionHost + "/app.php?idfa=" + percentEncoded(p_.identity.advertisingIdentifier()) +
            "&appid=" + percentEncoded(std::to_string(config_.appStoreId));
    // The answer and any error are ignored, and it is not tried again.
    p_.network.startRequest(r);
}

void VoltwiseViewController::readDevice() {
    deviceType = p_.device.model();
    systemVersion = p_.device.systemVersion();
    systemVersionFloat = static_cast<float>(leadingDecimal(systemVersion.value_or("")));
    deviceVersion = p_.device.machine();
    lteMultiplier = 0;
    p_.log.format("device version: %s", deviceVersion->c_str());
}

void VoltwiseViewController::checkSystemVersion() {
    if (systemVersionFloat >= 3.0f) return;
    Alert a;
    a.title = "Software 3.0 Update Required";
    a.message = "Voltwise requires that your device be updated to OS 3.0 or later";
    a.cancelButtonTitle = "OK";
    showAlert(std::move(a));
}

void VoltwiseViewController::classifyDevice() {
    static_cast<DeviceProfile&>(*this) = profileForDevice(deviceType.value_or(""), deviceVersion.value_or(""));
}

std::shared_ptr<View> VoltwiseViewController::view() {
    if (!view_) loadView();
    return view_;
}

void VoltwiseViewController::didReceiveMemoryWarning() {}

bool VoltwiseViewController::shouldAutorotateToInterfaceOrientation(int orientation) const { return orientation == 1; }

}  // namespace vw
