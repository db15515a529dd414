#include "platform/Log.h"

#include <cstdio>

namespace vw::platform {

void Log::line(const std::string& text) {
    Sink sink;
    {
        std::lock_guard lock(mutex_);
        lines_.push_back(text);
        if (lines_.size() > kKeptLines) lines_.pop_front();
        sink = sink_;
    }
    if (sink) sink(text);
}

void Log::format(const char* fmt, ...) {
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    line(buf);
}

std::vector<std::string> Log::lines() const {
    std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

}  // namespace vw::platform
