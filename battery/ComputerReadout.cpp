#include "battery/ComputerReadout.h"

#include <cstdio>

namespace vw {

namespace {

// Each label with the blanks that line its figure up with the others in the
// picker's bold face (as the phone rows' labels are).
constexpr const char* kLabelsWithBlanks[] = {"At This Rate         ", "Light Use                 ",
                                             "Typical Use           ", "Heavy Use              ",
                                             "Recharge Time     "};

std::string line(const char* label, const history::Figure& f) {
    char buf[96];
    switch (f.kind) {
        case history::Figure::Kind::Minutes: {
            const int hours = f.minutes / 60;
            std::snprintf(buf, sizeof buf, "%s%s%dhr %02dmin", label, hours < 10 ? "  " : "", hours, f.minutes % 60);
            break;
        }
        case history::Figure::Kind::Learning: std::snprintf(buf, sizeof buf, "%s%s", label, "learning"); break;
        case history::Figure::Kind::Held: std::snprintf(buf, sizeof buf, "%sheld at %d%%", label, f.heldAt); break;
    }
    return buf;
}

}  // namespace

ComputerRows computerRows(const std::string& name, BatteryState state, const history::Figures& figures,
                          bool hasFigures) {
    ComputerRows rows;
    rows.lines.push_back(name);
    if (!hasFigures) {
        rows.lines.emplace_back(kNoFiguresRow);
        return rows;
    }
    for (int i = 0; i < history::kRows; ++i) rows.lines.push_back(line(kLabelsWithBlanks[i], figures.rows[i]));
    const bool onCharge = state == BatteryState::Charging || state == BatteryState::Full;
    rows.selectedRow = 1 + (onCharge ? history::RechargeTime : history::AtThisRate);
    return rows;
}

}  // namespace vw
