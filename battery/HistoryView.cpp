#include "battery/HistoryView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vw {

using namespace platform;

namespace {

constexpr double kDay = 86400;
// Readings further apart than this are not joined: the machine was off,
// asleep or on mains without being read.
constexpr double kJoinedWithin = 15 * 60;
// Points a line keeps at most: about one a column of a dense screen.
constexpr std::size_t kColumns = 600;

constexpr Colour kChargeColour{80, 220, 100, 255};
constexpr Colour kPowerColour{250, 200, 60, 255};
constexpr Colour kLimitColour{255, 140, 0, 255};
constexpr Colour kGuideColour{90, 90, 90, 255};
constexpr Colour kQuietText{170, 170, 170, 255};

std::shared_ptr<TextView> text(Ui& ui, Rect frame, float size, bool bold, Colour colour) {
    auto t = std::make_shared<TextView>(ui, frame);
    t->setBackgroundColor(Colour::clear());
    t->setTextColor(colour);
    t->setFont(Font{bold ? "Verdana-Bold" : "Verdana", size});
    t->setTextAlignment(TextAlignment::Left);
    t->setEditable(false);
    return t;
}

// The readings as lines across [from, to]: a value per reading scaled by
// `top`, split where readings are far apart, thinned to a point a column.
template <class Value>
std::vector<GraphView::Line> linesOf(const std::vector<history::Reading>& readings, double from, double to, double top,
                                     Colour colour, Value value) {
    std::vector<GraphView::Line> lines;
    double lastTime = -1e300;
    int lastColumn = -1;
    for (const auto& r : readings) {
        const double v = value(r);
        if (!std::isfinite(v) || r.time < from) continue;
        if (r.time - lastTime > kJoinedWithin || lines.empty()) {
            lines.push_back({{}, colour});
            lastColumn = -1;
        }
        lastTime = r.time;
        const float x = static_cast<float>((r.time - from) / (to - from));
        const int column = static_cast<int>(x * kColumns);
        const Point p{x, static_cast<float>(std::clamp(v / top, 0.0, 1.0))};
        auto& points = lines.back().points;
        if (column == lastColumn && points.size() > 1) points.back() = p;  // the column's latest; a line's start stays
        else points.push_back(p);
        lastColumn = column;
    }
    // A single reading shows as a short flat stroke.
    for (auto& l : lines)
        if (l.points.size() == 1) l.points.push_back({std::min(1.0f, l.points[0].x + 0.004f), l.points[0].y});
    return lines;
}

}  // namespace

std::string healthText(const history::Health& h) {
    std::string s;
    char buf[96];
    auto add = [&](const char* part) { s += (s.empty() ? "" : "\n") + std::string(part); };
    if (std::isfinite(h.capacityPercent)) {
        std::snprintf(buf, sizeof buf, "Capacity %.0f%% of design", h.capacityPercent);
        add(buf);
    }
    if (std::isfinite(h.cycles)) {
        std::snprintf(buf, sizeof buf, "%.0f charge cycles", h.cycles);
        add(buf);
    }
    std::string more = h.technology;
    if (std::isfinite(h.temperatureC)) {
        std::snprintf(buf, sizeof buf, "%.1f °C", h.temperatureC);
        more += (more.empty() ? "" : ", ") + std::string(buf);
    }
    if (!more.empty()) add(more.c_str());
    if (h.chargeLimit < 100) {
        std::snprintf(buf, sizeof buf, "Charges to %.0f%%", h.chargeLimit);
        add(buf);
    }
    return s.empty() ? "The battery does not report its health" : s;
}

HistoryView::HistoryView(Platform& p, Rect frame) {
    Ui& ui = p.ui;
    view_ = std::make_shared<View>(ui, frame);
    view_->setName("historyView");
    view_->setBackgroundColor(Colour::black());
    const float w = frame.width - 20;
    title_ = text(ui, {10, 8, w, 28}, 15, true, Colour::white());
    title_->setName("historyTitle");
    chargeLabel_ = text(ui, {10, 36, w, 22}, 11, false, kChargeColour);
    chargeLabel_->setName("historyChargeLabel");
    charge_ = std::make_shared<GraphView>(ui, Rect{10, 58, w, 130});
    charge_->setName("historyCharge");
    charge_->setBackgroundColor(Colour{20, 20, 20, 255});
    powerLabel_ = text(ui, {10, 196, w, 22}, 11, false, kPowerColour);
    powerLabel_->setName("historyPowerLabel");
    power_ = std::make_shared<GraphView>(ui, Rect{10, 218, w, 110});
    power_->setName("historyPower");
    power_->setBackgroundColor(Colour{20, 20, 20, 255});
    // The time axis under the power: where the span starts, and now.
    since_ = text(ui, {10, 328, w / 2, 24}, 10, false, kQuietText);
    since_->setName("historySince");
    until_ = text(ui, {10 + w / 2, 328, w / 2, 24}, 10, false, kQuietText);
    until_->setName("historyUntil");
    until_->setTextAlignment(TextAlignment::Right);
    until_->setText("now");
    health_ = text(ui, {10, 354, w, 80}, 12, false, Colour::white());
    health_->setName("historyHealth");
    hint_ = text(ui, {10, frame.height - 34, w, 26}, 11, false, kQuietText);
    hint_->setName("historyHint");
    for (const auto& v : std::initializer_list<std::shared_ptr<View>>{title_, chargeLabel_, charge_, powerLabel_, power_,
                                                                     since_, until_, health_, hint_})
        view_->addSubview(v);
    view_->setHidden(true);
}

void HistoryView::show(history::ThisComputer& computer, Span span) {
    span_ = span;
    const double to = computer.now();
    const double from = to - (span == Span::Day ? kDay : 7 * kDay);
    const std::vector<history::Reading> readings = computer.history(from);
    const history::Health health = computer.health();

    title_->setText(computer.name() + (span == Span::Day ? ", last 24 hours" : ", last 7 days"));
    since_->setText(span == Span::Day ? "24 hours ago" : "7 days ago");

    chargeLabel_->setText("Charge (%)");
    std::vector<GraphView::Mark> marks{{0.5f, kGuideColour}};
    if (health.chargeLimit < 100) marks.push_back({static_cast<float>(health.chargeLimit / 100), kLimitColour});
    charge_->setMarks(std::move(marks));
    charge_->setLines(linesOf(readings, from, to, 100, kChargeColour, [](const history::Reading& r) {
        return r.percent;
    }));

    // The power's scale: the highest rate seen, up to a whole 5 W.
    double highest = 0;
    for (const auto& r : readings)
        if (std::isfinite(r.rateW)) highest = std::max(highest, r.rateW);
    const double top = std::max(5.0, std::ceil(highest / 5) * 5);
    char label[64];
    std::snprintf(label, sizeof label, "Power (W), 0 to %.0f", top);
    powerLabel_->setText(readings.empty() ? "Power (W): nothing recorded yet" : label);
    power_->setMarks({{0.5f, kGuideColour}});
    power_->setLines(linesOf(readings, from, to, top, kPowerColour, [](const history::Reading& r) {
        return r.phase == history::Phase::Discharging || r.phase == history::Phase::Charging ? r.rateW : NAN;
    }));

    health_->setText(healthText(health));
    hint_->setText(span == Span::Day ? "Touch or H: the last 7 days; Escape: back" : "Touch, H or Escape: back");
    view_->setHidden(false);
}

void HistoryView::hide() { view_->setHidden(true); }

}  // namespace vw
