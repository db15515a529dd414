// The main controller: the one screen and what drives it (battery
// notifications, touches, the picker, the slide show's timer). It keeps the
// mode the screen is in; the readout, the skin picker and the slide show keep
// their own state, and are told what happened. Their operations live in the
// folders of the part of the screen they serve.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "battery/BatteryReadout.h"
#include "battery/HistoryView.h"
#include "controller/AppConfig.h"
#include "device/DeviceProfile.h"
#include "platform/Platform.h"
#include "promo/SlideShow.h"
#include "screen/SkinPicker.h"

namespace vw {

inline constexpr const char* kSettingsVersionKey = "vwf_version";
inline constexpr const char* kCurrentSettingsVersion = "4.5";

// What the screen shows, which decides what touches, the picker and battery
// changes do.
enum class Mode {
    Loading,      // until the gauge's first grow has ended: touches do nothing
    Normal,       // the readout and the button strip
    SkinPicking,  // the picker lists the skins; only Save counts
    SlideShow,    // the slide show covers the screen
    History,      // this computer's history covers the screen
};

class VoltwiseViewController final : public platform::PickerDataSource, public platform::PickerDelegate {
public:
    // With `computer` (which must outlive the controller), the readout's
    // lines are this computer's rows and its history can be shown.
    VoltwiseViewController(platform::Platform& platform, AppConfig config,
                           history::ThisComputer* computer = nullptr);
    ~VoltwiseViewController() override;
    VoltwiseViewController(const VoltwiseViewController&) = delete;
    VoltwiseViewController& operator=(const VoltwiseViewController&) = delete;

    // The initialiser; false only if the base failed (it does not).
    bool init();

    // The root view, built by loadView on first use.
    std::shared_ptr<platform::View> view();
    Mode mode() const { return mode_; }
    const DeviceProfile& profile() const { return profile_; }
    const AppConfig& config() const { return config_; }

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

    // Picker data source and delegate: the readout's lines, or the skins
    // while picking.
    int numberOfComponentsInPickerView(platform::PickerView& picker) override;
    float pickerViewRowHeightForComponent(platform::PickerView& picker, int component) override;
    int pickerViewNumberOfRowsInComponent(platform::PickerView& picker, int component) override;
    std::string pickerViewTitleForRow(platform::PickerView& picker, int row, int component) override;
    void pickerViewDidSelectRow(platform::PickerView& picker, int row, int component) override;

    // The slide show's four-second timer.
    void adSlideTimer();

    // This computer's history (the H key, a touch on the battery): the last
    // day, then the last week, then back to the readout. False without a
    // computer to show, or while another screen part has the screen.
    bool showHistory();
    // Back from the history to the readout (Escape); false when not shown.
    bool closeHistory();
    // The readout moves to the next (+1) or previous (-1) battery on the
    // desk (Tab, Shift+Tab, a touch on the percentage); false when there is
    // no other, or another screen part has the screen.
    bool showNextBattery(int step);

    // The file-level flag: the first battery-state notification has been seen.
    static bool stateSeenOnce();
    // Puts the process-wide flag back, so tests can start a new launch.
    static void resetProcessStateForTesting();

private:
    // Steps of the initialiser.
    void setUpAudioSession();
    void restoreSettingsOrFirstRun();
    void showFirstInstallAlert();
    void sendAttributionRequest();
    void classifyDevice();
    void registerBatteryObservers();

    void showAlert(const platform::Alert& alert);
    void openStorePage(const std::string& url);
    // The button strip: Customize, Get Pro and Our Apps, or Save while picking.
    void showSaveButton(bool save);
    void showAdScroller();

    platform::Platform& p_;
    AppConfig config_;
    DeviceProfile profile_;
    Mode mode_ = Mode::Loading;
    platform::Rect bounds_;  // the application's frame
    int32_t vertSpacer_ = 0;  // how far a taller screen moves the button strip down

    std::shared_ptr<platform::View> view_;
    std::shared_ptr<platform::PickerView> pickerView_;
    std::shared_ptr<platform::ImageView> btnCustomizeView_, btnGetProView_, btnOurAppsView_, btnSaveView_;
    std::unique_ptr<SlideShow> slideShow_;  // built when the first grow ends
    SkinPicker skins_;
    BatteryReadout readout_;
    history::ThisComputer* computer_ = nullptr;
    std::unique_ptr<HistoryView> history_;  // built when first shown

    platform::MainLoop::Timer slideTimer_;
    std::vector<platform::NotificationCenter::ObserverId> observers_;
};

}  // namespace vw
