// The main controller: the one screen, its state and everything that drives
// it (battery notifications, touches, the picker, the slide-show timer).
// Its fields are the application's state record; the operations live in the
// folders of the part of the screen they serve.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "battery/Readout.h"
#include "controller/AppConfig.h"
#include "device/DeviceProfile.h"
#include "platform/Numbers.h"
#include "platform/Platform.h"

namespace vw {

inline constexpr const char* kSettingsVersionKey = "vwf_version";
inline constexpr const char* kSkinFileKey = "skin_file";
inline constexpr const char* kSkinRowSelectedKey = "skin_row_selected";
inline constexpr const char* kCurrentSettingsVersion = "4.5";
inline constexpr const char* kGrowAnimationID = "ShowBatteryGrow";

// The device profile's fields (labels, factors, last-five-percent figures,
// family flags) are the controller's own fields of the same names.
class VoltwiseViewController final : public DeviceProfile,
                                     public platform::PickerDataSource,
                                     public platform::PickerDelegate,
                                     public platform::ScrollViewDelegate {
public:
    VoltwiseViewController(platform::Platform& platform, AppConfig config);
    ~VoltwiseViewController() override;

    // The initialiser; false only if the base failed (it does not).
    bool init();

    // The root view, built by loadView on first use.
    std::shared_ptr<platform::View> view();

    // Battery monitoring.
    void batteryLevelDidChange(const platform::Notification& notification);
    void batteryStateDidChange(const platform::Notification& notification);

    // The readout.
    void loadScreen();
    void animationHasFinished(const std::string& animationID, bool finished, void* context);

    // Screen construction, touches and skins.
    void loadView();
    void touchesBegan(const platform::TouchSet& touches, const platform::Event* event);
    void customizeScreen();
    bool shouldAutorotateToInterfaceOrientation(int orientation) const;
    void didReceiveMemoryWarning();

    // Picker data source and delegate.
    int numberOfComponentsInPickerView(platform::PickerView& picker) override;
    float pickerViewRowHeightForComponent(platform::PickerView& picker, int component) override;
    int pickerViewNumberOfRowsInComponent(platform::PickerView& picker, int component) override;
    std::string pickerViewTitleForRow(platform::PickerView& picker, int row, int component) override;
    void pickerViewDidSelectRow(platform::PickerView& picker, int row, int component) override;

    // The promotional slide show.
    void showAdScroller();
    void dismissAdScroller();
    void loadAdScroller();
    void prepareCircularScrollForNextSlide();
    void scrollViewDidEndDecelerating(platform::ScrollView& scrollView) override;
    void slideForwardOneAdFrame();
    void adSlideTimer();

    // The file-level flag: the first battery-state notification has been seen.
    static bool stateSeenOnce();
    // Puts the process-wide flag back, so tests can start a new launch.
    static void resetProcessStateForTesting();

    // The profile as held in the fields.
    const DeviceProfile& profile() const { return *this; }
    const AppConfig& config() const { return config_; }

    // ---- the state record ----
    std::shared_ptr<platform::PickerView> pickerView;
    std::shared_ptr<platform::TextView> textView;
    std::shared_ptr<platform::ImageView> imageView;
    std::shared_ptr<platform::ImageView> btnCustomizeView;
    std::shared_ptr<platform::ImageView> btnGetProView;
    std::shared_ptr<platform::ImageView> btnOurAppsView;
    std::shared_ptr<platform::ImageView> btnSaveView;
    std::shared_ptr<platform::ImageView> imageSliceView;
    std::shared_ptr<platform::ImageView> imageViewSkin;
    std::unique_ptr<std::vector<std::string>> activities;
    std::vector<std::string> skinsTitles;
    std::vector<std::string> skinsFiles;
    std::optional<platform::Alert> alert;
    int32_t secondsToCharge100 = 0;
    int32_t secondsToCharge95 = 0;
    int32_t batteryLevel = 0;
    int32_t batteryLevelAfterChange = 0;
    int32_t hoursAvail = 0;
    int32_t minutesAvail = 0;
    int32_t pickerSelectRow = 0;
    int32_t skinRowSelected = 0;
    float transformSize = 0;
    float systemVersionFloat = 0;
    std::optional<std::string> hourLessThan10Space;
    uint32_t batteryAlert = 0;
    std::optional<std::string> deviceType;
    std::optional<std::string> systemVersion;
    std::optional<std::string> skinFileToShow;
    std::string skinFileInUse;
    std::optional<std::string> deviceVersion;
    std::optional<std::string> skinRowSelectedStr;
    platform::Rect bounds;
    uint8_t beepOnLoad = 0;
    uint8_t pickingSkins = 0;
    uint8_t pushedCustomizeButton = 0;
    platform::Settings* defaults = nullptr;
    std::optional<std::string> vwfVersion;
    double unixStartTimeTest = 0;
    std::optional<std::string> appStoreUrl;
    uint8_t lateLoadingDone = 0;
    std::shared_ptr<platform::AudioPlayer> audioPlayerAdSax;
    std::shared_ptr<platform::ImageView> adBackDropView;
    std::shared_ptr<platform::ImageView> adHeaderView;
    std::shared_ptr<platform::ScrollView> sv;
    uint8_t showingAdSlideShow = 0;
    uint8_t touchedSlideShowScreen = 0;
    int32_t adSlideShowing = 0;
    std::unique_ptr<std::vector<std::string>> slideImages;
    std::unique_ptr<std::vector<std::string>> slideHeaders;
    int32_t currentAdScrollPage = 0;
    int32_t previousAdScrollPage = 0;
    float screenHeight = 0;
    int32_t vertSpacer = 0;

private:
    // Steps of the initialiser.
    void setUpAudioSession();
    void loadSkinCatalogue();
    void restoreSettingsOrFirstRun();
    void showFirstInstallAlert();
    void sendAttributionRequest();
    void readDevice();
    void checkSystemVersion();
    void classifyDevice();
    void registerBatteryObservers();

    int32_t adScrollPage() const;
    void showHeader(int index);
    void showAlert(platform::Alert a);

    platform::Platform& p_;
    AppConfig config_;
    std::shared_ptr<platform::View> view_;
    platform::MainLoop::Timer slideTimer_;
    std::vector<platform::NotificationCenter::ObserverId> observers_;
    // Work queued for later (an animation's end) is dropped once this is gone.
    platform::Lifetime lifetime_;
};

}  // namespace vw
