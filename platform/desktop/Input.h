// Mouse and touch input in points, routed as the platform routes touches:
// an alert on show is modal and takes everything (its buttons answer on
// release); a visible, interactive scroll view under the pointer takes
// drags, and a tap on it without movement goes on to the controller as a
// touch; the picker takes drags, taps and the mouse wheel; everything else
// becomes a touch for the controller at the point where the press began.
//
// The picker's frame starts at y 264 on a 480-point screen, two points above
// the lower edge of the button strip's hit band (y 266). A press there lands
// on the picker, as hit-testing on the platform would find it (the buttons
// above it take no touches); the buttons themselves end at y 260.
#pragma once

#include <deque>
#include <functional>
#include <optional>

#include "platform/desktop/Renderer.h"
#include "platform/desktop/WindowEvent.h"
#include "platform/ui/Ui.h"

namespace vw::desktop {

class InputRouter {
public:
    using TouchHandler = std::function<void(const platform::TouchSet&)>;
    static constexpr float kTapSlop = 6;  // points a press may wander and still be a tap

    InputRouter(platform::Ui& ui, Renderer& renderer, platform::Size screen, TouchHandler touches);

    // A pointer event of the window (touches arrive as the mouse events SDL
    // makes from them). Returns whether it was input of ours.
    bool handle(const WindowEvent& e);

    // The same in points, with times in seconds, for tests.
    void press(platform::Point p, double time);
    void move(platform::Point p, double time);
    void release(platform::Point p, double time);
    void wheel(platform::Point p, int notches);  // notches > 0: towards later rows
    // The button of the alert on show is pressed (keyboard): as a click.
    bool pressAlertButton(int index);

    bool interacting() const { return target_ != Target::None; }

private:
    enum class Target { None, Alert, Scroll, Picker, Controller };
    platform::View* hitTest(platform::View& v, platform::Point p, platform::Point origin);
    // The scroll view or picker under `p` that takes it, if any (at most one
    // of the two: the nearest to the view hit).
    struct Taker;
    Taker takerAt(platform::Point p);
    int alertButtonAt(platform::Point p);
    float velocity(bool vertical) const;

    platform::Ui& ui_;
    Renderer& renderer_;
    platform::Size screen_;
    TouchHandler touches_;
    Target target_ = Target::None;
    platform::ScrollView* scroll_ = nullptr;
    platform::PickerView* picker_ = nullptr;
    platform::Point start_, last_;
    bool dragging_ = false;
    int alertButton_ = -1;
    struct Sample {
        platform::Point p;
        double t;
    };
    std::deque<Sample> samples_;
    platform::Point pointer_;
};

}  // namespace vw::desktop
