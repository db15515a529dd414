#include "battery/BatteryReadout.h"

#include "battery/ComputerReadout.h"

namespace vw {

using namespace platform;

namespace {
constexpr Rect kFillerFrame{157, 74, 251, 194};

Colour colourOf(TextColour c) { return c == TextColour::Red ? Colour::red() : Colour::white(); }
}  // namespace

BatteryReadout::BatteryReadout(Platform& platform, AnimationDidStop grown) : p_(platform), grown_(std::move(grown)) {}

BatteryReadout::~BatteryReadout() {
    if (batteryAlert_ != 0) p_.audio.disposeSystemSound(batteryAlert_);
}

std::shared_ptr<ImageView> BatteryReadout::makeFiller() {
    imageSliceView_ = std::make_shared<ImageView>(p_.ui, kFillerFrame);
    imageSliceView_->setName("imageSliceView");
    // Squeezed sideways towards its right edge, it uncovers the skin from the left.
    imageSliceView_->setAnchorPoint({1.0f, 0.5f});
    imageSliceView_->setImage(p_.ui.imageNamed("battery_empty_filler.png"));
    return imageSliceView_;
}

std::shared_ptr<TextView> BatteryReadout::makePercentView() {
    textView_ = std::make_shared<TextView>(p_.ui, kPercentFrame);
    textView_->setName("textView");
    textView_->setBackgroundColor(Colour::clear());
    textView_->setTextColor(colourOf(percentColourFor(last_.level)));
    textView_->setFont(Font{"Verdana-Bold", 32});
    textView_->setTextAlignment(TextAlignment::Left);
    textView_->setEditable(false);
    textView_->setText(percentTextFor(last_.level));
    return textView_;
}

void BatteryReadout::loadChime() {
    const auto chime = p_.bundle.pathForResource("voltwise_sound", "wav", "/");
    batteryAlert_ = p_.audio.createSystemSound(chime.value_or(""));
}

const Readout& BatteryReadout::read(const DeviceProfile& profile, const std::string& skinFileInUse,
                                    history::ThisComputer* computer) {
    const float level = p_.device.batteryLevel();
    const BatteryState state = p_.device.batteryState();
    last_ = buildReadout(level, state, profile, beepOnLoad_, last_.band.secondsToCharge95,
                         last_.band.secondsToCharge100, skinFileInUse);
    beepOnLoad_ = last_.beepOnLoad;
    if (computer) {
        ComputerRows rows = computerRows(computer->name(), state, computer->figures(), computer->hasFigures());
        last_.lines = std::move(rows.lines);
        last_.selectedRow = rows.selectedRow;
    }
    return last_;
}

void BatteryReadout::refreshRows(history::ThisComputer& computer) {
    last_.lines =
        computerRows(computer.name(), p_.device.batteryState(), computer.figures(), computer.hasFigures()).lines;
}

void BatteryReadout::show() {
    if (imageSliceView_) {
        imageSliceView_->setTransform(Transform::identity());
        Animator& a = p_.ui.animator();
        a.beginAnimations(kGrowAnimationID, nullptr);
        a.setAnimationDelegate("VoltwiseViewController");
        a.setAnimationDidStopSelector("animationHasFinished:finished:context:",
                                      lifetime_.guard([this](const std::string& id, bool finished, void* context) {
                                          grown_(id, finished, context);
                                      }));
        a.setAnimationDuration(2.0);
        imageSliceView_->setTransform(Transform::scale(last_.band.gaugeScale, 1.0f));
        a.commitAnimations();
    }

    if (beepOnLoad_) p_.audio.playSystemSound(batteryAlert_);

    if (textView_) {
        textView_->setTextColor(colourOf(last_.percentColour));
        textView_->setText(last_.percentText);
    }
}

}  // namespace vw
