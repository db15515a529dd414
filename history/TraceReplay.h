// A recorded battery trace played through the estimator the window uses,
// with the trace's own times as the clock: hours of a laptop's life in a
// second, to see how the figures would have fared.
//
// The trace is CSV text with the header `t_epoch,status,percent,energy_wh,power_w`
// and one sample a line, in time order: the time (seconds since the
// epoch), `discharging`, `charging`, `full` (on mains, not charging) or
// `unknown`, the percentage, the energy left (Wh) and the power (W, a
// magnitude). Empty fields are allowed: the power is then taken from the
// energy's fall, and the energy from the percentage once the data tell the
// full energy.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "history/Estimator.h"
#include "platform/Result.h"

namespace vw::history {

struct TraceSample {
    double time = 0;
    Phase phase = Phase::Unknown;
    std::string status;   // as written
    std::string percentText;
    double percent = NAN, energyWh = NAN, powerW = NAN;
};

// Reads a trace a line at a time, in bounded memory. Errors name the line:
// "LINE: what is wrong".
class TraceReader {
public:
    explicit TraceReader(std::istream& in);
    // The next sample, false at the end, or what is wrong with the next line.
    Result<bool> next(TraceSample& sample);
    long line() const { return line_; }

private:
    std::istream& in_;
    long line_ = 0;
    double lastTime_ = -1e300;
    std::string text_;
};

struct ReplayOptions {
    double every = 0;          // print a line per this many seconds of trace time; 0: every sample
    std::string storeFolder;   // where the replay's own history database goes (made, and removed after)
};

// Replays the trace at `path`, printing
//   t_epoch,status,percent,at_this_rate_min,light_min,typical_min,heavy_min,recharge_min
// a line per sample (or per `every` seconds), each figure in minutes as the
// screen shows it, empty where the row says "learning" or "held at N%".
// An error names the file's line ("LINE: what is wrong").
Result<void> replayTrace(const std::string& path, const ReplayOptions& options, std::ostream& out);

}  // namespace vw::history
