#include <gtest/gtest.h>

#include "battery/ChargeBand.h"

namespace vw {
namespace {

const std::string kGreen = "green_skin.png";
const std::string kRed = "battery_fill_red_3.png";

LastFivePercentSeconds lastFive(int32_t iPad, int32_t iPod, int32_t g3, int32_t g2, int32_t g3s) {
    return {iPad, iPod, g3, g2, g3s};
}

TEST(ChargeBandTable, BandsAreContiguousAndCoverEveryLevel) {
    const auto& t = chargeBandTable();
    EXPECT_EQ(t.front().lowest, 100);
    EXPECT_FALSE(t.front().highest);
    EXPECT_EQ(t.back().highest, 9);
    EXPECT_FALSE(t.back().lowest);
    for (std::size_t i = 1; i < t.size(); ++i) {
        EXPECT_EQ(*t[i].highest + 1, *t[i - 1].lowest) << "band " << i + 1;
        // Lower charge: more of the skin covered and more seconds to charge.
        EXPECT_GT(t[i].gaugeScale, t[i - 1].gaugeScale) << "band " << i + 1;
        if (i >= 2) {
            for (std::size_t f = 0; f < 5; ++f)
                EXPECT_GT(t[i].secondsTo95[f], t[i - 1].secondsTo95[f]) << "band " << i + 1 << " family " << f;
        }
        EXPECT_EQ(t[i].redFill, i >= 18) << "band " << i + 1;
    }
    for (int32_t level = -300; level <= 300; ++level) {
        const auto& b = t[chargeBandIndex(level)];
        EXPECT_TRUE((!b.lowest || level >= *b.lowest) && (!b.highest || level <= *b.highest)) << level;
    }
}

TEST(ChargeBandFor, BandEdges) {
    const struct {
        int32_t level;
        std::size_t band;  // 1-based, as in the table
        float scale;
    } cases[] = {
        {1000, 1, 0.001f}, {100, 1, 0.001f}, {99, 2, 0.02f}, {95, 2, 0.02f}, {94, 3, 0.1f}, {90, 3, 0.1f},
        {89, 4, 0.15f},    {57, 10, 0.4f},   {50, 11, 0.46f}, {15, 18, 0.85f}, {14, 19, 0.9f}, {10, 19, 0.9f},
        {9, 20, 0.95f},    {0, 20, 0.95f},   {-100, 20, 0.95f}, {INT32_MIN, 20, 0.95f}, {INT32_MAX, 1, 0.001f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chargeBandIndex(c.level) + 1, c.band) << c.level;
        EXPECT_EQ(chargeBandFor(c.level, "3G", {}, 0, 0, kGreen).gaugeScale, c.scale) << c.level;
    }
}

TEST(ChargeBandFor, RechargeFiguresPerFamily) {
    const auto five = lastFive(1140, 380, 562, 576, 1190);
    EXPECT_EQ(chargeBandFor(57, "3GS", five, 0, 0, kGreen), (ChargeBandResult{0.4f, 6321, 7511, kGreen}));
    EXPECT_EQ(chargeBandFor(97, "IPAD", five, 0, 0, kGreen), (ChargeBandResult{0.02f, 0, 1140, kGreen}));
    EXPECT_EQ(chargeBandFor(72, "3G", five, 0, 0, kGreen), (ChargeBandResult{0.26f, 3606, 4168, kGreen}));
    EXPECT_EQ(chargeBandFor(30, "IPOD", five, 0, 0, kGreen), (ChargeBandResult{0.7f, 4561, 4941, kGreen}));
    for (int32_t level : {9, 0, -100})
        EXPECT_EQ(chargeBandFor(level, "2G", five, 0, 0, kGreen), (ChargeBandResult{0.95f, 11592, 12168, kRed}))
            << level;
    // Band 1 zeroes both whatever came before.
    for (const char* family : {"IPAD", "IPOD", "3G", "2G", "3GS", "watch"})
        EXPECT_EQ(chargeBandFor(100, family, five, 77, 88, kGreen), (ChargeBandResult{0.001f, 0, 0, kGreen})) << family;
}

TEST(ChargeBandFor, UnknownFamilyCarriesTheFiguresOver) {
    const auto five = lastFive(1, 2, 3, 4, 5);
    const std::optional<std::string> none;
    EXPECT_EQ(chargeBandFor(50, none, five, 500, 900, kGreen), (ChargeBandResult{0.46f, 500, 900, kGreen}));
    EXPECT_EQ(chargeBandFor(97, none, five, 500, 900, kGreen), (ChargeBandResult{0.02f, 0, 900, kGreen}));
    EXPECT_EQ(chargeBandFor(100, none, five, 500, 900, kGreen), (ChargeBandResult{0.001f, 0, 0, kGreen}));
    // Exact, case-sensitive keys: "3gs" and "3G " are not families.
    EXPECT_EQ(chargeBandFor(57, "3gs", five, 11, 22, kGreen).secondsToCharge100, 22);
    EXPECT_EQ(chargeBandFor(57, "3G ", five, 11, 22, kGreen).secondsToCharge95, 11);
    // "3G" and "3GS" are told apart.
    EXPECT_EQ(chargeBandFor(57, "3G", five, 0, 0, kGreen).secondsToCharge95, 4367);
}

TEST(ChargeBandFor, RedFillBelowFifteenStays) {
    const auto five = lastFive(1140, 380, 562, 576, 1190);
    const auto at14 = chargeBandFor(14, "3GS", five, 0, 0, "tiger_skin.png");
    EXPECT_EQ(at14.gaugeScale, 0.9f);
    EXPECT_EQ(at14.skinFileInUse, kRed);
    const auto at15 = chargeBandFor(15, "3GS", five, at14.secondsToCharge95, at14.secondsToCharge100, at14.skinFileInUse);
    EXPECT_EQ(at15.gaugeScale, 0.85f);
    EXPECT_EQ(at15.skinFileInUse, kRed);  // nothing puts the earlier skin back
    EXPECT_EQ(chargeBandFor(15, "3GS", five, 0, 0, "tiger_skin.png").skinFileInUse, "tiger_skin.png");
    // The red fill comes with an unknown family too.
    EXPECT_EQ(chargeBandFor(3, std::nullopt, five, 0, 0, kGreen).skinFileInUse, kRed);
}

}  // namespace
}  // namespace vw
