// The record of platform operations. The recording test double's recorders
// (and the view model, when given one) write to it so tests can check which
// operations ran, in which order, with which values; the desktop backend has
// none.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace vw::platform {

class Trace {
public:
    // One call as text: "op(arg1, arg2)".
    void record(std::string op, const std::vector<std::string>& args = {});
    std::vector<std::string> calls() const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

// Records when a trace is attached; does nothing otherwise.
inline void traceCall(Trace* t, std::string op, const std::vector<std::string>& args = {}) {
    if (t) t->record(std::move(op), args);
}

std::string quoteText(const std::string& s);
// A number as the trace shows it ("%g": 4, 0.15, 1e+06).
std::string traceNumber(double v);
std::string boolText(bool b);

}  // namespace vw::platform
