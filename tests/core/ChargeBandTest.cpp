#include <gtest/gtest.h>
#include "battery/ChargeBand.h"

namespace vw {

void PrintTo(const ChargeBandResult& r, std::ostream* os) {
    *os << r.gaugeScale << " " << r.secondsToCharge95 << " " << r.secondsToCharge100 << " " << r.skinFileInUse;
}

namespace {

const std::string kGreen = "green_skin.png", kTiger = "tiger_skin.png", kRed = "battery_fill_red_3.png";

TEST(ChargeBandTable, BandsAreContiguousAndCoverEveryLevel) {
    const auto& t = chargeBandTable();
    EXPECT_EQ(t.front().lowest, 100);
    EXPECT_FALSE(t.front().highest);
    EXPECT_EQ(t.back().highest, 9);
    EXPECT_FALSE(t.back().lowest);
    for (std::size_t i = 1; i < t.size(); ++i) {
        SCOPED_TRACE(i + 1);  // the band
        EXPECT_EQ(*t[i].highest + 1, *t[i - 1].lowest);
        // Lower charge: more of the skin covered and more seconds to charge.
        EXPECT_GT(t[i].gaugeScale, t[i - 1].gaugeScale);
        for (std::size_t f = 0; i >= 2 && f < 5; ++f) EXPECT_GT(t[i].secondsTo95[f], t[i - 1].secondsTo95[f]) << f;
        EXPECT_EQ(t[i].redFill, i >= 18);
    }
    for (int32_t level = -300; level <= 300; ++level) {
        const auto& b = t[chargeBandIndex(level)];
        EXPECT_TRUE((!b.lowest || level >= *b.lowest) && (!b.highest || level <= *b.highest)) << level;
    }
}

TEST(ChargeBandFor, BandEdges) {
    const struct { int32_t level; std::size_t band; float scale; } cases[] = {  // band: 1-based, as in the table
        {1000, 1, 0.001f}, {100, 1, 0.001f}, {99, 2, 0.02f},  {95, 2, 0.02f},   {94, 3, 0.1f},          {90, 3, 0.1f},
        {89, 4, 0.15f},    {57, 10, 0.4f},   {50, 11, 0.46f}, {15, 18, 0.85f},  {14, 19, 0.9f},         {10, 19, 0.9f},
        {9, 20, 0.95f},    {0, 20, 0.95f},   {-100, 20, 0.95f}, {INT32_MIN, 20, 0.95f}, {INT32_MAX, 1, 0.001f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chargeBandIndex(c.level) + 1, c.band) << c.level;
        EXPECT_EQ(chargeBandFor(c.level, "3G", {}, 0, 0, kGreen).gaugeScale, c.scale) << c.level;
    }
}

// The seconds to 95 percent by family, plus that family's last five percent;
// what a band leaves open carries over, as does the red fill once chosen.
TEST(ChargeBandFor, FiguresAndSkin) {
    const LastFivePercentSeconds five{1140, 380, 562, 576, 1190};
    const std::optional<std::string> none;
    const struct { int32_t level; std::optional<std::string> family; int32_t current95, current100; std::string currentSkin;
                   ChargeBandResult want; } cases[] = {
        {57, "3GS", 0, 0, kGreen, {0.4f, 6321, 7511, kGreen}},      {57, "3G", 0, 0, kGreen, {0.4f, 4367, 4929, kGreen}},
        {72, "3G", 0, 0, kGreen, {0.26f, 3606, 4168, kGreen}},      {30, "IPOD", 0, 0, kGreen, {0.7f, 4561, 4941, kGreen}},
        {97, "IPAD", 0, 0, kGreen, {0.02f, 0, 1140, kGreen}},       {9, "2G", 0, 0, kGreen, {0.95f, 11592, 12168, kRed}},
        // Band 1 zeroes both whatever came before, for any family.
        {100, "IPAD", 77, 88, kGreen, {0.001f, 0, 0, kGreen}},      {100, "watch", 77, 88, kGreen, {0.001f, 0, 0, kGreen}},
        // No family (keys are exact and case-sensitive): the figures carry over.
        {50, none, 500, 900, kGreen, {0.46f, 500, 900, kGreen}},    {97, none, 500, 900, kGreen, {0.02f, 0, 900, kGreen}},
        {57, "3gs", 11, 22, kGreen, {0.4f, 11, 22, kGreen}},        {57, "3G ", 11, 22, kGreen, {0.4f, 11, 22, kGreen}},
        // Below 15 the red fill replaces the skin, and nothing puts it back.
        {14, "3GS", 0, 0, kTiger, {0.9f, 12656, 13846, kRed}},      {15, "3GS", 0, 0, kRed, {0.85f, 12010, 13200, kRed}},
        {15, "3GS", 0, 0, kTiger, {0.85f, 12010, 13200, kTiger}},   {3, none, 0, 0, kGreen, {0.95f, 0, 0, kRed}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chargeBandFor(c.level, c.family, five, c.current95, c.current100, c.currentSkin), c.want)
            << c.level << " " << c.family.value_or("-");
}

}  // namespace
}  // namespace vw
