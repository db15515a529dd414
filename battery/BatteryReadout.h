// The readout on screen: the percentage, the gauge's filler growing to the
// charge, the picker's lines of time left, and the chime. It keeps what one
// reading carries to the next: the recharge figures and whether to chime.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "battery/Readout.h"
#include "history/ThisComputer.h"
#include "platform/Lifetime.h"
#include "platform/Platform.h"

namespace vw {

inline constexpr const char* kGrowAnimationID = "ShowBatteryGrow";

class BatteryReadout {
public:
    // Where the percentage is drawn.
    static constexpr platform::Rect kPercentFrame{110, 119, 200, 100};

    // `grown` hears of the end of every grow of the filler.
    BatteryReadout(platform::Platform& platform, platform::AnimationDidStop grown);
    ~BatteryReadout();  // disposes of the chime
    BatteryReadout(const BatteryReadout&) = delete;
    BatteryReadout& operator=(const BatteryReadout&) = delete;

    // Its views, for the screen to place: the filler over the battery
    // outline and the percentage (showing the last reading); then the chime.
    std::shared_ptr<platform::ImageView> makeFiller();
    std::shared_ptr<platform::TextView> makePercentView();
    void loadChime();

    // The battery read now, worked out for `profile` over the skin in use
    // (which a low charge replaces: the band names the skin to use). With
    // `computer`, the lines are this computer's rows instead of the model's.
    const Readout& read(const DeviceProfile& profile, const std::string& skinFileInUse,
                        history::ThisComputer* computer = nullptr);
    // This computer's rows again, as its figures now stand; the selection stays.
    void refreshRows(history::ThisComputer& computer);
    // The last reading on screen: the filler grows to it, the chime sounds
    // when due, the percentage shows it.
    void show();

    // A level change redraws silently, a state change with the chime.
    void setBeepOnLoad(bool beep) { beepOnLoad_ = beep; }
    // The picker's lines of the last reading.
    const std::vector<std::string>& lines() const { return last_.lines; }
    int32_t selectedRow() const { return last_.selectedRow; }

private:
    platform::Platform& p_;
    platform::AnimationDidStop grown_;
    bool beepOnLoad_ = true;
    Readout last_;
    uint32_t batteryAlert_ = 0;  // the chime, once loaded
    std::shared_ptr<platform::TextView> textView_;
    std::shared_ptr<platform::ImageView> imageSliceView_;
    // An animation's end, queued for later, is dropped once this is gone.
    platform::Lifetime lifetime_;
};

}  // namespace vw
