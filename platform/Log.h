// The diagnostic log: lines of text, no levels.
#pragma once

#include <cstdarg>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace vw::platform {

class Log {
public:
    using Sink = std::function<void(const std::string&)>;

    // `sink` also hears every line, as it is written.
    explicit Log(Sink sink = {}) : sink_(std::move(sink)) {}

    void line(const std::string& text);
    // printf-style, for the fixed log formats ("%1.0f", "%d", "%@" written as "%s").
    void format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

    // The latest lines (at most kKeptLines), oldest first.
    std::vector<std::string> lines() const;
    static constexpr std::size_t kKeptLines = 4096;

private:
    Sink sink_;
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
};

}  // namespace vw::platform
