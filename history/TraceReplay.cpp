#include "history/TraceReplay.h"

#include <stdlib.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>

#include "history/HistoryStore.h"
#include "platform/Text.h"

namespace vw::history {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "t_epoch,status,percent,energy_wh,power_w";
constexpr std::size_t kLongestLine = 4096;
// The power is taken from the energy's fall over this much of the trace
// (the energy is written in coarse steps, 0.01 Wh).
constexpr double kPowerSpan = 300;
// Samples the store takes before it commits.
constexpr int kCommitEvery = 5000;

Error at(long line, const std::string& what) { return Error{std::to_string(line) + ": " + what}; }

// `text` as a finite number; absent when empty; an error otherwise.
Result<double> number(std::string_view text, const char* what, long line) {
    if (text.empty()) return NAN;
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
        return at(line, std::string(what) + " is not a number: '" + platform::shown(std::string(text)) + "'");
    return v;
}

// The statuses as traces write them: in any case, the battery folder's own
// words ("Not charging") among them.
Result<Phase> phaseOf(std::string_view status, long line) {
    std::string word(status);
    for (char& c : word) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (word == "discharging") return Phase::Discharging;
    if (word == "charging") return Phase::Charging;
    if (word == "full" || word == "not charging") return Phase::Held;  // on mains, not charging
    if (word == "unknown") return Phase::Unknown;
    return at(line, "the status must be discharging, charging, full, not charging or unknown, not '" +
                        platform::shown(word) + "'");
}

std::string figureText(const Figure& f) { return f.kind == Figure::Kind::Minutes ? std::to_string(f.minutes) : ""; }

// What the whole trace says before it is replayed: its full energy and how
// often it was sampled.
struct Survey {
    double fullWh = NAN;
    double period = 30;
};

Result<Survey> survey(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Error{std::strerror(errno), errno};
    TraceReader reader(in);
    TraceSample s;
    std::map<long, long> fulls, gaps;  // centiwatt-hours and seconds, counted
    double last = NAN;
    for (;;) {
        Result<bool> more = reader.next(s);
        if (!more) return more.error();
        if (!*more) break;
        if (s.percent >= 10 && s.energyWh > 0) ++fulls[std::lround(s.energyWh / s.percent * 100 * 100)];
        if (std::isfinite(last) && s.time > last && gaps.size() < 100000) ++gaps[std::lround(s.time - last)];
        last = s.time;
    }
    auto median = [](const std::map<long, long>& counts) {
        long total = 0, seen = 0;
        for (const auto& [v, n] : counts) total += n;
        for (const auto& [v, n] : counts)
            if ((seen += n) * 2 >= total) return static_cast<double>(v);
        return static_cast<double>(NAN);
    };
    Survey out;
    if (!fulls.empty()) out.fullWh = median(fulls) / 100;
    if (!gaps.empty()) out.period = std::max(30.0, median(gaps));
    return out;
}

}  // namespace

TraceReader::TraceReader(std::istream& in) : in_(in) {}

Result<bool> TraceReader::next(TraceSample& s) {
    for (;;) {
        // One line, at most kLongestLine characters of it.
        text_.clear();
        int c = 0;
        while ((c = in_.get()) != EOF && c != '\n') {
            if (text_.size() == kLongestLine) return at(line_ + 1, "the line is longer than " + std::to_string(kLongestLine) + " characters");
            text_ += static_cast<char>(c);
        }
        if (c == EOF && text_.empty()) {
            if (line_ == 0) return at(1, std::string("no header (") + kHeader + ")");
            return false;
        }
        ++line_;
        if (!text_.empty() && text_.back() == '\r') text_.pop_back();
        if (line_ == 1) {
            if (text_.rfind("\xEF\xBB\xBF", 0) == 0) text_.erase(0, 3);
            if (text_ != kHeader) return at(1, std::string("no header (") + kHeader + ")");
            continue;
        }
        if (text_.empty()) continue;
        std::string_view fields[5];
        std::size_t start = 0;
        int n = 0;
        for (;;) {
            const std::size_t comma = text_.find(',', start);
            if (n == 5) return at(line_, "more than 5 fields");
            fields[n++] = std::string_view(text_).substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        if (n != 5) return at(line_, "5 fields expected, " + std::to_string(n) + " found");
        Result<double> time = number(fields[0], "the time", line_);
        if (!time) return time.error();
        if (!std::isfinite(*time)) return at(line_, "the time is missing");
        if (*time < lastTime_)
            return at(line_, "out of time order (" + std::string(fields[0]) + " comes after a later time)");
        Result<Phase> phase = phaseOf(fields[1], line_);
        if (!phase) return phase.error();
        Result<double> percent = number(fields[2], "the percentage", line_);
        if (!percent) return percent.error();
        Result<double> energy = number(fields[3], "the energy", line_);
        if (!energy) return energy.error();
        Result<double> power = number(fields[4], "the power", line_);
        if (!power) return power.error();
        if (*percent < 0 || *percent > 200) return at(line_, "the percentage is out of range");
        if (*energy < 0 || *power < 0) return at(line_, "energy and power are magnitudes (0 or more)");
        lastTime_ = *time;
        s.time = *time;
        s.phase = *phase;
        s.status = std::string(fields[1]);
        s.percentText = std::string(fields[2]);
        s.percent = *percent;
        s.energyWh = *energy;
        s.powerW = *power;
        return true;
    }
}

Result<void> replayTrace(const std::string& path, const ReplayOptions& options, std::ostream& out) {
    // Every line is checked before anything is printed.
    Result<Survey> seen = survey(path);
    if (!seen) return seen.error();

    std::string folder = options.storeFolder;
    if (folder.empty()) {
        std::string pattern = (fs::temp_directory_path() / "voltwise-replay-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return Error{"cannot make a folder for the replay's history", errno};
        folder = pattern;
    }
    struct Removed {
        std::string folder;
        ~Removed() {
            std::error_code ec;
            fs::remove_all(folder, ec);
        }
    } removed{options.storeFolder.empty() ? folder : std::string()};
    auto store = HistoryStore::open((fs::path(folder) / "history.db").string());
    if (!store) return store.error();

    EstimatorSettings settings;
    settings.samplePeriod = seen->period;
    Estimator estimator(settings, (*store)->learner());

    std::ifstream in(path, std::ios::binary);
    TraceReader reader(in);
    TraceSample s;
    std::deque<std::pair<double, double>> recent;  // time, energy: this run's last kPowerSpan
    Phase runPhase = Phase::Unknown;
    double nextPrint = -1e300;
    int pending = 0;
    out << "t_epoch,status,percent,at_this_rate_min,light_min,typical_min,heavy_min,recharge_min\n";
    for (;;) {
        Result<bool> more = reader.next(s);
        if (!more) return more.error();
        if (!*more) break;
        Reading r;
        r.time = s.time;
        r.phase = s.phase;
        r.percent = s.percent;
        r.energyFullWh = seen->fullWh;
        r.energyWh = std::isfinite(s.energyWh) ? s.energyWh : s.percent / 100.0 * seen->fullWh;
        if (!std::isfinite(r.percent) && r.energyFullWh > 0) r.percent = r.energyWh / r.energyFullWh * 100.0;
        if (r.phase == Phase::Held && r.percent >= 99.5) r.phase = Phase::Full;
        // The power, where none was written: the energy's fall (or rise) over
        // the last minutes of this run.
        if (r.phase != runPhase || (!recent.empty() && r.time - recent.back().first > 2 * seen->period)) recent.clear();
        runPhase = r.phase;
        r.rateW = s.powerW;
        if (std::isfinite(r.energyWh)) {
            recent.emplace_back(r.time, r.energyWh);
            while (recent.size() > 2 && r.time - recent[1].first >= kPowerSpan) recent.pop_front();
            const double span = r.time - recent.front().first;
            if (!std::isfinite(r.rateW) && span > 0) r.rateW = std::abs(recent.front().second - r.energyWh) / span * 3600;
        }
        estimator.observe(r);
        (*store)->addSample(r);
        if (++pending == kCommitEvery) {
            (*store)->commit(r.time);
            pending = 0;
        }
        const Figures f = estimator.figures();
        if (options.every > 0 && s.time < nextPrint) continue;
        nextPrint = s.time + options.every;
        char t[32];
        std::snprintf(t, sizeof t, "%.15g", s.time);
        out << t << ',' << s.status << ',' << s.percentText;
        for (const Figure& row : f.rows) out << ',' << figureText(row);
        out << '\n';
    }
    (*store)->commit(s.time);
    return {};
}

}  // namespace vw::history
