// Modal alerts, shown one at a time in the order they were asked to show.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Trace.h"

namespace vw::platform {

struct Alert {
    std::string title;
    std::string message;
    std::optional<std::string> cancelButtonTitle;
    std::vector<std::string> otherButtonTitles;
    std::string delegate;                   // empty: no delegate
    std::function<void(int)> clickedButton; // the delegate's answer handler, by button index

    // Buttons by index: the cancel button first, then the others in order.
    std::vector<std::string> buttonTitles() const;
};

class AlertQueue {
public:
    explicit AlertQueue(Trace* trace) : trace_(trace) {}
    void show(Alert alert);
    const Alert* front() const { return queue_.empty() ? nullptr : &queue_.front(); }
    std::size_t size() const { return queue_.size(); }
    // The user taps button `index` of the alert on show: it closes, the next
    // one shows, and its delegate (if any) is told. False without an alert
    // or with an index that has no button.
    bool clickButtonAtIndex(int index);
    // Moves on whenever the alert on show or the queue behind it changes.
    uint64_t revision() const { return revision_; }

private:
    Trace* trace_;
    std::deque<Alert> queue_;
    uint64_t revision_ = 0;
};

}  // namespace vw::platform
