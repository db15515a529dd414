#include "battery/ChargeBand.h"

namespace vw {
namespace {

//                                  scale   IPAD   IPOD    3G     2G    3GS   red
constexpr std::array<ChargeBand, 20> kBands = {{
    {100, std::nullopt, 0.001f, {0, 0, 0, 0, 0}, false},  // 100 and above
    {95, 99, 0.02f, {0, 0, 0, 0, 0}, false},
    {90, 94, 0.1f, {1140, 380, 761, 372, 726}, false},
    {85, 89, 0.15f, {2280, 760, 1712, 1320, 1411}, false},
    {80, 84, 0.2f, {3420, 1140, 2283, 1896, 2280}, false},
    {75, 79, 0.22f, {4560, 1520, 3234, 2652, 3109}, false},
    {70, 74, 0.26f, {5130, 1710, 3606, 3792, 3877}, false},
    {65, 69, 0.3f, {6270, 2090, 3796, 5508, 4685}, false},
    {60, 64, 0.36f, {7410, 2470, 4177, 7212, 5513}, false},
    {55, 59, 0.4f, {8550, 2850, 4367, 7968, 6321}, false},
    {50, 54, 0.46f, {9690, 3230, 4558, 8352, 7007}, false},
    {45, 49, 0.51f, {11400, 3800, 4748, 8736, 7714}, false},
    {40, 44, 0.58f, {12540, 4180, 4938, 8928, 8480}, false},
    {35, 39, 0.65f, {13110, 4370, 5128, 9300, 9206}, false},
    {30, 34, 0.7f, {13683, 4561, 5319, 9876, 9933}, false},
    {25, 29, 0.75f, {14253, 4751, 5509, 10068, 10618}, false},
    {20, 24, 0.8f, {15393, 5131, 5889, 10440, 11364}, false},
    {15, 19, 0.85f, {17673, 5891, 6460, 10824, 12010}, false},
    {10, 14, 0.9f, {18813, 6271, 6650, 11208, 12656}, true},
    {std::nullopt, 9, 0.95f, {19953, 6651, 6840, 11592, 13302}, true},  // 9 and below
}};

}  // namespace

const std::array<ChargeBand, 20>& chargeBandTable() { return kBands; }

std::size_t chargeBandIndex(int32_t level) {
    for (std::size_t i = 0; i < kBands.size(); ++i) {
        const ChargeBand& b = kBands[i];
        if ((!b.lowest || level >= *b.lowest) && (!b.highest || level <= *b.highest)) return i;
    }
    return kBands.size() - 1;  // unreachable: the bands cover every integer
}

std::optional<Family> familyForKey(const std::optional<std::string>& key) {
    if (!key) return std::nullopt;
    if (*key == "IPAD") return Family::IPAD;
    if (*key == "IPOD") return Family::IPOD;
    if (*key == "3G") return Family::G3;
    if (*key == "2G") return Family::G2;
    if (*key == "3GS") return Family::G3S;
    return std::nullopt;
}

namespace {
int32_t lastFiveFor(Family f, const LastFivePercentSeconds& s) {
    switch (f) {
        case Family::IPAD: return s.iPad;
        case Family::IPOD: return s.iPodTouch;
        case Family::G3: return s.threeG;
        case Family::G2: return s.twoG;
        case Family::G3S: return s.threeGS;
    }
    return 0;
}
}  // namespace

ChargeBandResult chargeBandFor(int32_t level, const std::optional<std::string>& familyKey,
                               const LastFivePercentSeconds& lastFive, int32_t currentSecondsToCharge95,
                               int32_t currentSecondsToCharge100, const std::string& currentSkinFileInUse) {
    const std::size_t index = chargeBandIndex(level);
    const ChargeBand& band = kBands[index];
    const std::optional<Family> family = familyForKey(familyKey);

    ChargeBandResult r{band.gaugeScale, currentSecondsToCharge95, currentSecondsToCharge100,
                       currentSkinFileInUse};
    if (index == 0) {
        r.secondsToCharge95 = 0;
        r.secondsToCharge100 = 0;
    } else if (index == 1) {
        r.secondsToCharge95 = 0;
        if (family) r.secondsToCharge100 = lastFiveFor(*family, lastFive);
    } else if (family) {
        r.secondsToCharge95 = band.secondsTo95[static_cast<std::size_t>(*family)];
        r.secondsToCharge100 = r.secondsToCharge95 + lastFiveFor(*family, lastFive);
    }
    if (band.redFill) r.skinFileInUse = std::string(kRedFillSkin);
    return r;
}

}  // namespace vw
