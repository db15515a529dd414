#include "battery/Readout.h"

#include <cstdio>

#include "platform/Numbers.h"

namespace vw {
namespace {

struct Figure {
    int32_t hours;
    int32_t minutes;
};

// level x factor minutes, every step in single precision.
Figure factorFigure(int32_t level, float factor) {
    const float p = static_cast<float>(level) * factor;
    const int32_t hours = truncatedInt32(p / 60.0f);
    // hours * 60 as an integer product (wraps like the 32-bit original rather than overflowing)
    const int32_t wholeMinutes = static_cast<int32_t>(static_cast<uint32_t>(hours) * 60u);
    const int32_t minutes = truncatedInt32(p - static_cast<float>(wholeMinutes));
    return {hours, minutes};
}

Figure rechargeFigure(int32_t seconds) {
    const int32_t hours = seconds / 3600;
    return {hours, seconds / 60 - hours * 60};
}

const char* padding(int32_t hours) { return hours < 10 ? "  " : ""; }

const char* standbyPadding(int32_t hours) {
    if (hours < 10) return "    ";
    if (hours <= 99) return "  ";
    return "";
}

// label + blanks + padding + "%dhr %02dmin"
std::string formatLine(const char* labelWithBlanks, const char* pad, Figure f) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s%s%dhr %02dmin", labelWithBlanks, pad, f.hours, f.minutes);
    return buf;
}

}  // namespace

const char* batteryStateName(BatteryState s) {
    switch (s) {
        case BatteryState::Unknown: return "UIDeviceBatteryStateUnknown";
        case BatteryState::Unplugged: return "UIDeviceBatteryStateUnplugged";
        case BatteryState::Charging: return "UIDeviceBatteryStateCharging";
        case BatteryState::Full: return "UIDeviceBatteryStateFull";
    }
    return "";
}

TextColour percentColourFor(int32_t level) { return level <= 10 ? TextColour::Red : TextColour::White; }

std::string percentTextFor(int32_t level) { return std::to_string(level) + "%"; }

Readout buildReadout(float reportedFraction, BatteryState state, const DeviceProfile& profile, bool beepOnLoad,
                     int32_t secondsToCharge95, int32_t secondsToCharge100, const std::string& skinFileInUse) {
    Readout r;
    int32_t level = percentFromFraction(reportedFraction);

    r.beepOnLoad = beepOnLoad;
    if (state == BatteryState::Charging || state == BatteryState::Full) {
        if (profile.isIphone) {
            r.selectedRow = 5;
            if (profile.lteMultiplier > 0) r.selectedRow = 6;
            if (profile.deviceStrShort == "2G") r.selectedRow = 4;
        } else {
            r.selectedRow = 3;
        }
        if (state == BatteryState::Full || level >= 100) {
            r.beepOnLoad = false;
            level = 100;
        }
    } else {
        r.selectedRow = 2;
    }
    r.level = level;

    r.band = chargeBandFor(level, profile.deviceStrShort, profile.lastFivePercent(), secondsToCharge95,
                           secondsToCharge100, skinFileInUse);

    auto& lines = r.lines;
    lines.reserve(11);
    auto add = [&](const char* label, Figure f, const char* pad) { lines.push_back(formatLine(label, pad, f)); };
    auto addFactor = [&](const char* label, float factor) {
        const Figure f = factorFigure(level, factor);
        add(label, f, padding(f.hours));
    };

    lines.push_back(profile.deviceStr ? *profile.deviceStr : std::string(kUnknownDeviceLabel));
    addFactor("3D Game Play      ", profile.game3DMultiplier);
    addFactor("Game Play           ", profile.gameMultiplier);
    if (profile.isIphone && profile.isIphone1stgen) addFactor("Talk Time 2G       ", profile.talk2GMultiplier);
    if (profile.isIphone && !profile.isIphone1stgen) {
        addFactor("Talk Time 3G       ", profile.talk3GMultiplier);
        addFactor("3G Internet           ", profile.threeGMultiplier);
    }
    if (profile.lteMultiplier > 0) addFactor("LTE Internet          ", profile.lteMultiplier);
    {
        const Figure f = rechargeFigure(r.band.secondsToCharge100);
        add("Recharge Time     ", f, padding(f.hours));
    }
    addFactor("Wi-Fi Internet       ", profile.wifiMultiplier);
    addFactor("Video Playback    ", profile.videoPlaybackMultiplier);
    {
        const Figure f = factorFigure(level, profile.audioPlaybackMultiplier);
        add(f.hours <= 99 ? "Audio Playback    " : "Audio Playback  ", f, padding(f.hours));
    }
    {
        const Figure f = factorFigure(level, profile.standbyMultiplier);
        add("Standby Time     ", f, standbyPadding(f.hours));
    }

    r.percentText = percentTextFor(level);
    r.percentColour = percentColourFor(level);
    return r;
}

}  // namespace vw
