// The estimator as a pure unit: readings with the times we choose, figures
// checked against the definitions worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

#include "history/Estimator.h"

namespace vw::history {
namespace {

constexpr double kStart = 1'800'000'000;  // a Tuesday in 2027, 08:00 UTC
constexpr double kFull = 50.0;            // Wh

// A laptop whose battery the test drives: a reading every `period` seconds.
struct Machine {
    // Runs at `watts` for `seconds`, one reading a period; discharging takes
    // the energy with it.
    void run(double watts, double seconds, Phase phase = Phase::Discharging, double period = 30) {
        for (double t = 0; t < seconds - 1e-9; t += period) {
            e.observe({now, phase, energy / kFull * 100.0, energy, kFull, watts, limit});
            now += period;
            if (phase == Phase::Discharging) energy -= watts * period / 3600.0;
            if (phase == Phase::Charging) energy = std::min(kFull, energy + watts * period / 3600.0);
        }
    }
    Figure row(Row r) { return e.estimates().rows[r]; }
    double counted() const { return e.dischargeHistory().totalSeconds(); }
    Estimator e;
    double now = kStart, energy = 40.0, limit = 100;
};

Figure minutes(double m) { return {Figure::Kind::Minutes, wholeMinutes(m), 0}; }
const Figure kLearning{};

// The use rows learn for two hours of discharge, then show the usable energy
// over the time-weighted percentiles.
TEST(Estimator, UseFiguresAreTheUsableEnergyOverTheTimeWeightedPercentiles) {
    Machine m;
    m.run(5, 180 + 2 * 3600 - 60);  // unplugging: the first three minutes are not counted
    EXPECT_EQ(m.row(TypicalUse), kLearning);
    m.run(5, 90);
    EXPECT_EQ(m.row(TypicalUse).kind, Figure::Kind::Minutes);
    // 3 h at 5 W, 1 h at 10 W, 1 h at 15 W: 60 % of the time at 5 W.
    m.run(5, 3600 - 30);
    m.run(10, 3600);
    m.energy = 40.0;  // whatever was drawn, the figures divide what is left
    m.run(15, 3600 + 30);
    const double usable = m.energy + 15 * 30 / 3600.0 - 0.02 * kFull;  // as of the last reading
    EXPECT_EQ(m.row(LightUse), minutes(usable / 5 * 60));
    EXPECT_EQ(m.row(TypicalUse), minutes(usable / 5 * 60));
    EXPECT_EQ(m.row(HeavyUse), minutes(usable / 15 * 60));
    EXPECT_NEAR(m.counted(), 5 * 3600, 31);
}

TEST(Estimator, AtThisRateIsSeededWithThePresentRateThenSmoothedOverFourMinutes) {
    Machine m;
    m.run(10, 30);
    EXPECT_EQ(m.row(AtThisRate), minutes((40.0 - 1.0) / 10 * 60));
    // A step to 20 W: two stages of two minutes each, 1 - 3/e^2 of the way
    // after four minutes, and all but 2 % after twelve.
    m.run(20, 240 + 30);
    EXPECT_NEAR(m.e.smoothedPower(), 20 - 10 * 3 / std::exp(2.0), 1e-9);
    m.run(20, 480);
    EXPECT_NEAR(m.e.smoothedPower(), 20, 10 * 0.02);
}

TEST(Estimator, WhatIsNotTypicalDischargeIsLeftOut) {
    const struct {
        const char* what;
        std::function<void(Machine&)> run;
        double counted;  // seconds
    } cases[] = {
        {"the first three minutes after unplugging", [](Machine& m) { m.run(9, 600); }, 600 - 180 - 30},
        {"a gap longer than two sample periods", [](Machine& m) { m.run(9, 600, Phase::Discharging, 61); }, 0},
        {"two sample periods exactly", [](Machine& m) { m.run(9, 600, Phase::Discharging, 60); }, 600 - 180 - 60},
        {"below half a watt", [](Machine& m) { m.run(0.4, 600); }, 0},
        {"above 300 W", [](Machine& m) { m.run(301, 600); }, 0},
        {"time on mains", [](Machine& m) { m.run(9, 600, Phase::Charging); }, 0},
        {"three minutes after resuming",
         [](Machine& m) {
             m.run(9, 600);
             m.e.resumed(m.now);
             m.run(9, 600);
         },
         2 * (600 - 180 - 30)},
    };
    for (const auto& c : cases) {
        Machine m;
        c.run(m);
        EXPECT_NEAR(m.counted(), c.counted, 1e-6) << c.what;
    }
}

TEST(Estimator, OnlyTheLastFourteenDaysCount) {
    Machine m;
    m.run(6, 180 + 3 * 3600);
    const double counted = m.counted();
    m.now += 13 * kSecondsPerDay;
    m.run(6, 60, Phase::Charging);
    EXPECT_NEAR(m.counted(), counted, 1e-6) << "13 days later";
    m.now += 2 * kSecondsPerDay;
    m.run(6, 60, Phase::Charging);
    EXPECT_EQ(m.counted(), 0) << "15 days later";
}

TEST(Estimator, AnAlternatingLoadMovesTheShownFigureOnlyAFewTimes) {
    Machine m;
    m.energy = 45;
    m.run(10, 30);  // unplugged: the service's rate then
    int changes = 0, moved = 0;
    Figure shown = m.e.figures().rows[AtThisRate], estimate = m.row(AtThisRate);
    for (int i = 0; i < 120; ++i) {
        m.run(i % 2 ? 15 : 5, 30);
        const Figure nowShown = m.e.figures().rows[AtThisRate], nowEstimate = m.row(AtThisRate);
        changes += nowShown != std::exchange(shown, nowShown);
        moved += nowEstimate != std::exchange(estimate, nowEstimate);
    }
    // An hour at 10 W takes a fifth of the usable energy: a handful of 5 % steps.
    EXPECT_LE(changes, 6);
    EXPECT_GE(changes, 3);
    EXPECT_GE(moved, 50) << "the estimate itself moves on most readings";
}

TEST(Estimator, AShownFigureMovesOnceTheEstimateHasStayedAwayForFiveMinutes) {
    const struct {
        double watts, seconds;  // after a steady 10 W
        bool moves;
    } cases[] = {
        {20, 240, false},    // a burst of four minutes
        {20, 450, true},     // five minutes and more (the smoothing takes a minute to leave the band)
        {10.3, 900, false},  // within 5 %
    };
    for (const auto& c : cases) {
        Machine m;
        m.run(10, 600);
        m.energy = 40;  // the same energy left throughout
        const Figure before = m.e.figures().rows[AtThisRate];
        for (double t = 0; t < c.seconds; t += 30) {
            m.run(c.watts, 30);
            m.energy = 40;
            m.e.figures();
        }
        EXPECT_EQ(m.e.figures().rows[AtThisRate] != before, c.moves) << c.watts << " W for " << c.seconds << " s";
    }
}

// Learned speeds run the time to the charge limit; with none learned, the
// energy left over the present rate; discharging with none, nothing yet.
TEST(Estimator, RechargeTime) {
    const struct {
        const char* what;
        bool learned;  // 60 s a percent up to 79, 180 s a percent from 80 on
        double percent, limit, watts;
        Phase phase;
        Figure expected;
    } cases[] = {
        {"learned, to a full battery", true, 50, 100, 30, Phase::Charging, minutes((30 * 60 + 20 * 180) / 60.0)},
        {"learned, the last, slower percents never charged", true, 50, 80, 30, Phase::Charging, minutes(30.0)},
        {"held at the limit", true, 80, 80, 0, Phase::Held, Figure{Figure::Kind::Held, 0, 80}},
        {"nothing learned: (80 % of 50 Wh - 12.5 Wh) / 25 W = 1.1 h", false, 25, 80, 25, Phase::Charging, minutes(66)},
        {"discharging, nothing learned", false, 80, 100, 10, Phase::Discharging, kLearning},
    };
    for (const auto& c : cases) {
        Machine m;
        if (c.learned)
            for (int p = 0; p < 100; ++p) m.e.addChargeStep(p, p < 80 ? 60 : 180);
        m.energy = c.percent / 100 * kFull;
        m.limit = c.limit;
        m.run(c.watts, 30, c.phase);
        EXPECT_EQ(m.row(RechargeTime), c.expected) << c.what;
    }
}

TEST(Estimator, ChargingSpeedIsLearnedFromWholePercentsPassed) {
    Machine m;
    m.energy = 0.30 * kFull + 0.001;
    // 50 W into 50 Wh: a percent every 36 s; readings every 6 s.
    m.run(50, 36 * 10, Phase::Charging, 6);
    EXPECT_EQ(m.e.chargeSecondsAt(30), 0) << "the percent it was plugged in at was not seen from its start";
    for (int p = 31; p < 39; ++p) EXPECT_NEAR(m.e.chargeSecondsAt(p), 36, 6.01) << p;
}

TEST(Estimator, TheServicesHistoryIsTakenInTimeOrderAndEachRateLastsUntilTheNextPoint) {
    Estimator e;
    const double t = kStart;
    // Newest first, as the service gives them.
    e.addServiceHistory(
        {
            {t + 7200 + 5 * 3600, 0, Phase::Charging},  // plugged in
            {t + 7200, 12, Phase::Discharging},         // 12 W for an hour at most (then asleep)
            {t + 3600, 6, Phase::Discharging},          // 6 W for an hour
            {t, 9, Phase::Discharging},                 // unplugged: settles for 3 minutes
            {t - 600, 0, Phase::Charging},
        },
        {{t - 600, 60, Phase::Charging}, {t - 720, 59, Phase::Charging}, {t - 840, 58, Phase::Charging}});
    EXPECT_NEAR(e.dischargeHistory().totalSeconds(), (3600 - 180) + 3600 + 3600, 1e-6);
    EXPECT_NEAR(e.dischargeHistory().percentile(0.5), 9, 1e-9);
    EXPECT_NEAR(e.chargeSecondsAt(59), 120, 1e-9);
    EXPECT_EQ(e.chargeSecondsAt(58), 0) << "58 % was reached before the history's first point";
}

TEST(Estimator, SeveralBatteriesAddUpAsTheCompositeDevice) {
    const Reading all = combine({{0, Phase::Discharging, NAN, 20, 40, 8, 80}, {0, Phase::Held, NAN, 10, 20, 0, 100}});
    EXPECT_EQ(all.phase, Phase::Discharging);
    EXPECT_DOUBLE_EQ(all.energyWh, 30);
    EXPECT_DOUBLE_EQ(all.energyFullWh, 60);
    EXPECT_DOUBLE_EQ(all.percent, 50);
    EXPECT_DOUBLE_EQ(all.rateW, 8);
    EXPECT_NEAR(all.chargeLimit, (80 * 40 + 100 * 20) / 60.0, 1e-9);
}

}  // namespace
}  // namespace vw::history
