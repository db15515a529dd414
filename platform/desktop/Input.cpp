#include "platform/desktop/Input.h"

#include <cmath>

namespace vw::desktop {

using namespace platform;

InputRouter::InputRouter(Ui& ui, Renderer& renderer, Size screen, TouchHandler touches)
    : ui_(ui), renderer_(renderer), screen_(screen), touches_(std::move(touches)) {}

bool InputRouter::handle(const WindowEvent& e) {
    if (const auto* w = std::get_if<WheelEvent>(&e)) {
        wheel(pointer_, w->notches);
        return true;
    }
    const auto* p = std::get_if<PointerEvent>(&e);
    if (!p) return false;
    switch (p->phase) {
        case PointerEvent::Phase::Press: press(p->at, p->time); break;
        case PointerEvent::Phase::Move:
            pointer_ = p->at;
            if (target_ == Target::None) return false;
            move(p->at, p->time);
            break;
        case PointerEvent::Phase::Release: release(p->at, p->time); break;
    }
    return true;
}

View* InputRouter::hitTest(View& v, Point p, Point origin) {
    if (v.hidden() || !v.userInteractionEnabled()) return nullptr;
    const Rect f = v.frameWithTransform(v.presentationTransform());
    const Rect r{origin.x + f.x, origin.y + f.y, f.width, f.height};
    if (!r.contains(p)) return nullptr;
    const Point bounds = v.boundsOrigin();
    const Point inner{r.x - bounds.x, r.y - bounds.y};
    const auto& children = v.subviews();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (View* hit = hitTest(**it, p, inner)) return hit;
    return &v;
}

// Scroll views and pickers take presses; other views pass them on.
struct InputRouter::Taker final : ViewVisitor {
    void visit(View&) override {}
    void visit(ImageView&) override {}
    void visit(TextView&) override {}
    void visit(GraphView&) override {}
    void visit(Window&) override {}
    void visit(ScrollView& v) override { scroll = &v; }
    void visit(PickerView& v) override { picker = &v; }
    ScrollView* scroll = nullptr;
    PickerView* picker = nullptr;
};

InputRouter::Taker InputRouter::takerAt(Point p) {
    Taker taker;
    Window* w = ui_.keyWindow();
    if (!w) return taker;
    View* hit = hitTest(*w, p, w->superview() ? w->superview()->originInWindow() : Point{0, 0});
    for (View* v = hit; v && !taker.scroll && !taker.picker; v = v->superview()) v->accept(taker);
    return taker;
}

int InputRouter::alertButtonAt(Point p) {
    const Alert* a = ui_.alerts().front();
    if (!a) return -1;
    const AlertLayout l = renderer_.layoutAlert(*a, screen_);
    for (std::size_t i = 0; i < l.buttons.size(); ++i)
        if (l.buttons[i].contains(p)) return static_cast<int>(i);
    return -1;
}

void InputRouter::press(Point p, double time) {
    start_ = last_ = pointer_ = p;
    dragging_ = false;
    samples_.assign(1, {p, time});
    scroll_ = nullptr;
    picker_ = nullptr;
    if (ui_.alerts().front()) {
        target_ = Target::Alert;
        alertButton_ = alertButtonAt(p);
        renderer_.setPressedAlertButton(alertButton_);
        return;
    }
    const Taker taker = takerAt(p);
    if (taker.scroll) {
        scroll_ = taker.scroll;
        target_ = Target::Scroll;
        return;
    }
    if (taker.picker) {
        picker_ = taker.picker;
        target_ = Target::Picker;
        return;
    }
    target_ = Target::Controller;
    touches_({Touch{p}});
}

void InputRouter::move(Point p, double time) {
    if (target_ == Target::None) return;
    samples_.push_back({p, time});
    while (samples_.size() > 2 && time - samples_.front().t > 0.1) samples_.pop_front();
    if (target_ == Target::Alert) {
        renderer_.setPressedAlertButton(alertButtonAt(p) == alertButton_ ? alertButton_ : -1);
        return;
    }
    if (!dragging_ && std::hypot(p.x - start_.x, p.y - start_.y) > kTapSlop) {
        dragging_ = true;
        last_ = start_;
    }
    if (!dragging_) return;
    const float dx = p.x - last_.x, dy = p.y - last_.y;
    last_ = p;
    if (target_ == Target::Scroll && scroll_) {
        // Only along the axes the content is larger than the view.
        const Point m = scroll_->maxContentOffset();
        scroll_->userDragBy(m.x > 0 ? dx : 0, m.y > 0 ? dy : 0);
    } else if (target_ == Target::Picker && picker_) {
        picker_->userDragWheelBy(dy);
    }
}

float InputRouter::velocity(bool vertical) const {
    if (samples_.size() < 2) return 0;
    const Sample& a = samples_.front();
    const Sample& b = samples_.back();
    const double dt = b.t - a.t;
    if (dt <= 0.0) return 0;
    return static_cast<float>(((vertical ? b.p.y - a.p.y : b.p.x - a.p.x)) / dt);
}

void InputRouter::release(Point p, double time) {
    const Target target = target_;
    if (target == Target::None) return;
    move(p, time);
    target_ = Target::None;
    switch (target) {
        case Target::Alert: {
            const int button = alertButtonAt(p);
            renderer_.setPressedAlertButton(-1);
            if (button >= 0 && button == alertButton_) ui_.alerts().clickButtonAtIndex(button);
            break;
        }
        case Target::Scroll:
            if (!scroll_) break;
            // The pager wants the content's speed, which runs against the finger's.
            if (dragging_) scroll_->userRelease(-velocity(false), -velocity(true));
            else touches_({Touch{start_}});  // a tap passes through to the controller
            break;
        case Target::Picker:
            if (!picker_) break;
            if (dragging_) {
                picker_->userReleaseWheel(velocity(true));
            } else {
                const Point o = picker_->originInWindow();
                const float centre = o.y + picker_->boundsSize().height / 2;
                picker_->userTapWheelAt(pickerArcOffset(*picker_, start_.y - centre));
            }
            break;
        default: break;
    }
    scroll_ = nullptr;
    picker_ = nullptr;
    dragging_ = false;
}

void InputRouter::wheel(Point p, int notches) {
    if (ui_.alerts().front() || target_ != Target::None) return;
    if (PickerView* picker = takerAt(p).picker) picker->userTurnWheelBy(notches);
}

bool InputRouter::pressAlertButton(int index) {
    if (!ui_.alerts().front()) return false;
    target_ = Target::None;
    renderer_.setPressedAlertButton(-1);
    return ui_.alerts().clickButtonAtIndex(index);
}

}  // namespace vw::desktop
