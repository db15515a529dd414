// What carries out the warning rules' actions: the desktop's notification
// server, or a recording double in tests.
#pragma once

#include <functional>
#include <string>

#include "warnings/WarningPolicy.h"

namespace vw::warnings {

class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows, replaces or withdraws a notification; returns at once.
    virtual void carryOut(const Action& action) = 0;
    // Told, with its key, when a notification it showed is no longer on
    // show for a reason of the server's own (the user closed it, it
    // expired).
    void onClosed(std::function<void(const std::string& key)> closed) { closed_ = std::move(closed); }

protected:
    void closed(const std::string& key) {
        if (closed_) closed_(key);
    }

private:
    std::function<void(const std::string&)> closed_;
};

}  // namespace vw::warnings
