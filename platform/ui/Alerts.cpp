#include "platform/ui/Alerts.h"

namespace vw::platform {

std::vector<std::string> Alert::buttonTitles() const {
    std::vector<std::string> b;
    if (cancelButtonTitle) b.push_back(*cancelButtonTitle);
    b.insert(b.end(), otherButtonTitles.begin(), otherButtonTitles.end());
    return b;
}

void AlertQueue::show(Alert alert) {
    std::vector<std::string> args{quoteText(alert.title), quoteText(alert.message),
                                  alert.delegate.empty() ? "nil" : alert.delegate,
                                  alert.cancelButtonTitle ? quoteText(*alert.cancelButtonTitle) : "nil"};
    for (const auto& o : alert.otherButtonTitles) args.push_back(quoteText(o));
    traceCall(trace_, "alert.show", args);
    queue_.push_back(std::move(alert));
    ++revision_;
}

bool AlertQueue::clickButtonAtIndex(int index) {
    if (queue_.empty() || index < 0 || index >= static_cast<int>(queue_.front().buttonTitles().size()))
        return false;
    Alert alert = std::move(queue_.front());
    queue_.pop_front();
    ++revision_;
    traceCall(trace_, "alert.clickedButtonAtIndex", {quoteText(alert.title), std::to_string(index)});
    if (alert.clickedButton) alert.clickedButton(index);
    return true;
}

}  // namespace vw::platform
