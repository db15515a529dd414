// Following the battery: the two notification handlers, the readout's redraw
// and the end of the gauge's grow animation.
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
}

void VoltwiseViewController::batteryLevelDidChange(const Notification&) {
    if (pickingSkins == 1) return;
    if (showingAdSlideShow == 1) return;
    beepOnLoad = 0;
    unixStartTimeTest = p_.clock.now();
    batteryLevelAfterChange = percentFromFraction(p_.device.batteryLevel());
    p_.log.format("unixTime-testing->%1.0f new-batteryLevel->%d", unixStartTimeTest, batteryLevelAfterChange);
    p_.log.line(stateSeenOnce() ? "deviceStateHasBeenCheckedOnce->TRUE" : "deviceStateHasBeenCheckedOnce->FALSE");
    loadScreen();
}

void VoltwiseViewController::batteryStateDidChange(const Notification&) {
    p_.log.line("batteryStateDidChange->TRUE");
    for (BatteryState s : {BatteryState::Unknown, BatteryState::Unplugged, BatteryState::Charging, BatteryState::Full})
        if (p_.device.batteryState() == s) p_.log.line(batteryStateName(s));
    batteryLevelAfterChange = percentFromFraction(p_.device.batteryLevel());
    p_.log.format("batteryLevel->%d", batteryLevelAfterChange);
    if (pickingSkins == 1 || showingAdSlideShow == 1) return;
    if (stateSeenOnce()) {
        beepOnLoad = 1;
        loadScreen();
    } else {
        setStateSeenOnce();
    }
}

void VoltwiseViewController::loadScreen() {
    pickingSkins = 0;
    const float level = p_.device.batteryLevel();
    const BatteryState state = p_.device.batteryState();
    const Readout r =
        buildReadout(level, state, profile(), beepOnLoad, secondsToCharge95, secondsToCharge100, skinFileInUse);

    batteryLevel = r.level;
    pickerSelectRow = r.selectedRow;
    beepOnLoad = r.beepOnLoad;
    transformSize = r.band.gaugeScale;
    secondsToCharge95 = r.band.secondsToCharge95;
    secondsToCharge100 = r.band.secondsToCharge100;
    skinFileInUse = r.band.skinFileInUse;

    if (activities) {
        activities->clear();
        activities->insert(activities->end(), r.lines.begin(), r.lines.end());
    }
    hourLessThan10Space = r.hourLessThan10Space;
    hoursAvail = r.hoursAvail;
    minutesAvail = r.minutesAvail;

    if (pickerView) {
        pickerView->reloadAllComponents();
        pickerView->selectRow(pickerSelectRow, 0, true);
    }

    if (imageSliceView) {
        imageSliceView->setTransform(Transform::identity());
        Animator& a = p_.ui.animator();
        a.beginAnimations(kGrowAnimationID, nullptr);
        a.setAnimationDelegate("VoltwiseViewController");
        a.setAnimationDidStopSelector("animationHasFinished:finished:context:",
                                      lifetime_.guard([this](const std::string& id, bool finished, void* context) {
                                          animationHasFinished(id, finished, context);
                                      }));
        a.setAnimationDuration(2.0);
        imageSliceView->setTransform(Transform::scale(transformSize, 1.0f));
        a.commitAnimations();
    }

    if (beepOnLoad == 1) p_.audio.playSystemSound(batteryAlert);

    if (textView) {
        textView->setTextColor(r.percentColour == TextColour::Red ? Colour::red() : Colour::white());
        textView->setText(r.percentText);
    }
}

void VoltwiseViewController::animationHasFinished(const std::string& animationID, bool, void*) {
    if (animationID != kGrowAnimationID) return;
    if (lateLoadingDone != 0) return;
    loadAdScroller();
    if (btnCustomizeView) btnCustomizeView->setHidden(false);
    if (btnGetProView) btnGetProView->setHidden(false);
    if (btnOurAppsView) btnOurAppsView->setHidden(false);
    lateLoadingDone = 1;
}

}  // namespace vw
