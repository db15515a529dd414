// This computer's history over the readout: the charge (%) and the power
// (W) over the last day or week, the charge limit as a dashed line across
// the charge, and the battery's health.
#pragma once

#include <memory>
#include <string>

#include "history/ThisComputer.h"
#include "platform/Platform.h"

namespace vw {

class HistoryView {
public:
    enum class Span { Day, Week };

    // A view covering `frame`, hidden until shown.
    HistoryView(platform::Platform& platform, platform::Rect frame);
    std::shared_ptr<platform::View> view() const { return view_; }

    // Shows `computer`'s history over `span`, ending at its latest reading.
    void show(history::ThisComputer& computer, Span span);
    void hide();
    bool shown() const { return !view_->hidden(); }
    Span span() const { return span_; }

private:
    std::shared_ptr<platform::View> view_;
    std::shared_ptr<platform::TextView> title_, chargeLabel_, powerLabel_, health_, hint_, since_, until_;
    std::shared_ptr<platform::GraphView> charge_, power_;
    Span span_ = Span::Day;
};

// The health as one text: capacity against design, cycles, technology and
// temperature, each only where the battery says it.
std::string healthText(const history::Health& h);

}  // namespace vw
