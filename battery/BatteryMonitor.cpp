// Following the battery: the controller's two notification handlers, the
// readout's redraw and the end of the gauge's grow animation.
#include "controller/VoltwiseViewController.h"

namespace vw {

using namespace platform;

void setStateSeenOnce();

void VoltwiseViewController::registerBatteryObservers() {
    observers_.push_back(p_.notifications.addObserver(
        "VoltwiseViewController", "batteryLevelDidChange:", kBatteryLevelDidChangeNotification,
        [this](const Notification& n) { batteryLevelDidChange(n); }));
    observers_.push_back(p_.notifications.addObserver(
        "VoltwiseViewController", "batteryStateDidChange:", kBatteryStateDidChangeNotification,
        [this](const Notification& n) { batteryStateDidChange(n); }));
    p_.device.setBatteryMonitoringEnabled(true);
    // This computer's figures move between readings too (a sample, a change
    // of the smoothed rate): the rows are redrawn in place, without a grow
    // or a chime; while the picker lists the skins they wait for the save.
    if (computer_)
        computer_->onChange([this] {
            if (mode_ == Mode::SkinPicking) return;
            readout_.refreshRows(*computer_);
            if (pickerView_) pickerView_->reloadAllComponents();
        });
}

void VoltwiseViewController::batteryLevelDidChange(const Notification&) {
    if (mode_ == Mode::SkinPicking || mode_ == Mode::SlideShow) return;
    readout_.setBeepOnLoad(false);
    const double now = p_.clock.now();
    p_.log.format("unixTime-testing->%1.0f new-batteryLevel->%d", now, percentFromFraction(p_.device.batteryLevel()));
    p_.log.line(stateSeenOnce() ? "deviceStateHasBeenCheckedOnce->TRUE" : "deviceStateHasBeenCheckedOnce->FALSE");
    loadScreen();
}

void VoltwiseViewController::batteryStateDidChange(const Notification&) {
    p_.log.line("batteryStateDidChange->TRUE");
    for (BatteryState s : {BatteryState::Unknown, BatteryState::Unplugged, BatteryState::Charging, BatteryState::Full})
        if (p_.device.batteryState() == s) p_.log.line(batteryStateName(s));
    p_.log.format("batteryLevel->%d", percentFromFraction(p_.device.batteryLevel()));
    if (mode_ == Mode::SkinPicking || mode_ == Mode::SlideShow) return;
    if (stateSeenOnce()) {
        readout_.setBeepOnLoad(true);
        loadScreen();
    } else {
        setStateSeenOnce();
    }
}

void VoltwiseViewController::loadScreen() {
    if (mode_ == Mode::SkinPicking) mode_ = Mode::Normal;
    const Readout& r = readout_.read(profile_, skins_.skinFileInUse(), computer_);
    skins_.setSkinFileInUse(r.band.skinFileInUse);
    if (pickerView_) {
        pickerView_->reloadAllComponents();
        pickerView_->selectRow(r.selectedRow, 0, true);
    }
    readout_.show();
}

void VoltwiseViewController::animationHasFinished(const std::string& animationID, bool, void*) {
    if (animationID != kGrowAnimationID) return;
    if (mode_ != Mode::Loading) return;
    slideShow_ = std::make_unique<SlideShow>(p_, *view_);
    if (btnCustomizeView_) btnCustomizeView_->setHidden(false);
    if (btnGetProView_) btnGetProView_->setHidden(false);
    if (btnOurAppsView_) btnOurAppsView_->setHidden(false);
    mode_ = Mode::Normal;
}

}  // namespace vw
