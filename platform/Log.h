// The diagnostic log: lines of text, no levels.
#pragma once

#include <cstdarg>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Trace.h"

namespace vw::platform {

class Log {
public:
    using Sink = std::function<void(const std::string&)>;

    explicit Log(Sink sink = {}, Trace* trace = nullptr) : sink_(std::move(sink)), trace_(trace) {}

    void line(const std::string& text);
    // printf-style, for the fixed log formats ("%1.0f", "%d", "%@" written as "%s").
    void format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

    // The latest lines (at most kKeptLines), oldest first.
    std::vector<std::string> lines() const;
    static constexpr std::size_t kKeptLines = 4096;

private:
    Sink sink_;
    Trace* trace_;
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
};

}  // namespace vw::platform
