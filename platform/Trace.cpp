#include "platform/Trace.h"

#include "platform/Text.h"

#include <cstdio>

namespace vw::platform {

void Trace::record(std::string op, const std::vector<std::string>& args) {
    op += '(';
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i) op += ", ";
        op += args[i];
    }
    op += ')';
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(op));
}

std::vector<std::string> Trace::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void Trace::clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

std::string quoteText(const std::string& s) { return "\"" + backslashed(s, "\n\t\"\\") + "\""; }
std::string boolText(bool b) { return b ? "YES" : "NO"; }

}  // namespace vw::platform

namespace vw::platform {

std::string traceNumber(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

}  // namespace vw::platform
