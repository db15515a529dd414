// The readout's rows for this computer: its name, then the figures learned
// from its own battery, in the line format of the phone rows (label, blanks,
// padding, "%dhr %02dmin"), with "learning" or "held at N%" where a row has
// no figure yet.
#pragma once

#include <string>
#include <vector>

#include "history/Estimator.h"
#include "platform/BatteryState.h"

namespace vw {

struct ComputerRows {
    std::vector<std::string> lines;  // the name, At This Rate, Light, Typical, Heavy Use, Recharge Time
    int selectedRow = 1;             // At This Rate off charge, Recharge Time on charge
};

ComputerRows computerRows(const std::string& name, BatteryState state, const history::Figures& figures,
                          bool hasFigures = true);

// The one row of a battery without time figures (a peripheral's).
inline constexpr const char* kNoFiguresRow = "No time figures for this device";

// The row labels, as the rows start.
inline constexpr const char* kComputerRowLabels[] = {"At This Rate", "Light Use", "Typical Use", "Heavy Use",
                                                     "Recharge Time"};

}  // namespace vw
