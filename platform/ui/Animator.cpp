#include "platform/ui/Animator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/ui/Views.h"

namespace vw::platform {

Animator::Animator(const Clock& clock, MainLoop& loop, Trace* trace) : clock_(clock), loop_(loop), trace_(trace) {}
Animator::~Animator() = default;

double Animator::ease(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

void Animator::beginAnimations(const std::string& animationID, void* context) {
    traceCall(trace_, "animation.beginAnimations", {quoteText(animationID), context ? "context" : "nil"});
    auto b = std::make_shared<Block>();
    b->id = animationID;
    b->context = context;
    open_.push_back(std::move(b));
}

void Animator::setAnimationDelegate(const std::string& delegate) {
    traceCall(trace_, "animation.setAnimationDelegate", {delegate});
    if (!open_.empty()) open_.back()->delegate = delegate;
}

void Animator::setAnimationDidStopSelector(const std::string& selector, AnimationDidStop handler) {
    traceCall(trace_, "animation.setAnimationDidStopSelector", {selector});
    if (!open_.empty()) open_.back()->didStop = std::move(handler);
}

void Animator::setAnimationDuration(double seconds) {
    traceCall(trace_, "animation.setAnimationDuration", {traceNumber(seconds)});
    if (!open_.empty()) open_.back()->duration = std::max(0.0, seconds);
}

void Animator::commitAnimations() {
    traceCall(trace_, "animation.commitAnimations", {});
    if (open_.empty()) return;
    std::shared_ptr<Block> b = open_.back();
    open_.pop_back();
    b->committed = true;
    const double now = clock_.monotonic();
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->block != b) {
            ++it;
            continue;
        }
        it->start = now;
        it->end = now + b->duration;
        running_.push_back(*it);
        ++b->running;
        it = pending_.erase(it);
    }
    if (b->running == 0) blockEnded(b);  // nothing to animate: it ends at once
}

void Animator::transformWillChange(View& view, Transform from, Transform to) {
    // The on-screen value is where a new animation starts.
    Transform shown = presentationTransform(view, from);
    for (std::size_t i = 0; i < running_.size(); ++i) {
        if (running_[i].view == &view) {
            endTransformAnim(i, false);
            break;
        }
    }
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(), [&](const TransformAnim& a) { return a.view == &view; }),
                   pending_.end());
    if (open_.empty()) return;
    pending_.push_back({&view, shown, to, 0, 0, open_.back()});
}

Transform Animator::presentationTransform(const View& view, Transform model) const {
    for (const auto& a : running_) {
        if (a.view != &view) continue;
        const double span = a.end - a.start;
        const double t = span > 0 ? ease((clock_.monotonic() - a.start) / span) : 1.0;
        return {static_cast<float>(a.from.sx + (a.to.sx - a.from.sx) * t),
                static_cast<float>(a.from.sy + (a.to.sy - a.from.sy) * t)};
    }
    return model;
}

void Animator::endTransformAnim(std::size_t index, bool finished) {
    std::shared_ptr<Block> b = running_[index].block;
    running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(index));
    changed();  // the transform shown is the model's again
    if (!finished) b->allFinished = false;
    if (--b->running == 0) blockEnded(b);
}

void Animator::blockEnded(const std::shared_ptr<Block>& b) {
    if (!b->didStop) return;
    loop_.post([b, trace = trace_] {
        traceCall(trace, "animation.didStop", {quoteText(b->id), boolText(b->allFinished)});
        b->didStop(b->id, b->allFinished, b->context);
    });
}

void Animator::startScroll(ScrollView& view, Point from, Point to, double seconds, bool byUser) {
    cancelScroll(view);
    const double now = clock_.monotonic();
    scrolls_.push_back({&view, from, to, now, now + seconds, byUser});
}

void Animator::cancelScroll(ScrollView& view) {
    userEnded_.erase(&view);
    scrolls_.erase(std::remove_if(scrolls_.begin(), scrolls_.end(), [&](const ScrollAnim& s) { return s.view == &view; }),
                   scrolls_.end());
}

void Animator::startWheel(PickerView& view, float from, float to, double seconds, bool byUser) {
    cancelWheel(view);
    const double now = clock_.monotonic();
    wheels_.push_back({&view, from, to, now, now + seconds, byUser});
}

void Animator::cancelWheel(PickerView& view) {
    wheels_.erase(std::remove_if(wheels_.begin(), wheels_.end(), [&](const WheelAnim& w) { return w.view == &view; }),
                  wheels_.end());
}

bool Animator::wheelTurning(const PickerView& view) const {
    return std::any_of(wheels_.begin(), wheels_.end(), [&](const WheelAnim& w) { return w.view == &view; });
}

int Animator::wheelTarget(const PickerView& view) const {
    for (const auto& w : wheels_)
        if (w.view == &view) return static_cast<int>(std::lround(w.to));
    return 0;
}

void Animator::forget(const View& view) {
    wheelSettled_.erase(&view);
    wheels_.erase(std::remove_if(wheels_.begin(), wheels_.end(), [&](const WheelAnim& w) { return w.view == &view; }),
                  wheels_.end());
    for (std::size_t i = running_.size(); i-- > 0;)
        if (running_[i].view == &view) endTransformAnim(i, false);
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(), [&](const TransformAnim& a) { return a.view == &view; }),
                   pending_.end());
    scrolls_.erase(std::remove_if(scrolls_.begin(), scrolls_.end(), [&](const ScrollAnim& s) { return s.view == &view; }),
                   scrolls_.end());
    userEnded_.erase(&view);
}

void Animator::complete(double now, bool all) {
    if (!running_.empty()) changed();  // their transforms have moved on with the clock
    for (std::size_t i = running_.size(); i-- > 0;)
        if (all || now >= running_[i].end) endTransformAnim(i, true);

    std::vector<ScrollView*> userEnded;
    for (auto it = scrolls_.begin(); it != scrolls_.end();) {
        const double span = it->end - it->start;
        const bool done = all || now >= it->end;
        const double t = done ? 1.0 : (span > 0 ? ease((now - it->start) / span) : 1.0);
        it->view->animatorSetOffset({static_cast<float>(it->from.x + (it->to.x - it->from.x) * t),
                                     static_cast<float>(it->from.y + (it->to.y - it->from.y) * t)});
        if (done) {
            if (it->byUser) userEnded.push_back(it->view);
            it = scrolls_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = wheels_.begin(); it != wheels_.end();) {
        const double span = it->end - it->start;
        const bool done = all || now >= it->end;
        // The wheel slows as it settles.
        const double u = span > 0 ? std::clamp((now - it->start) / span, 0.0, 1.0) : 1.0;
        const double t = done ? 1.0 : 1.0 - (1.0 - u) * (1.0 - u);
        PickerView* picker = it->view;
        picker->animatorSetWheelPosition(static_cast<float>(it->from + (it->to - it->from) * t));
        if (done) {
            const bool byUser = it->byUser;
            const int row = static_cast<int>(std::lround(it->to));
            it = wheels_.erase(it);
            if (byUser) {
                wheelSettled_.insert(picker);
                loop_.post([this, picker, row] {
                    // Only if the picker is still there and no new turn took over.
                    if (wheelSettled_.erase(picker) == 0) return;
                    if (!wheelTurning(*picker) && !picker->userTurning()) picker->animatorWheelSettled(row);
                });
            }
        } else {
            ++it;
        }
    }

    // The delegate hears of a swipe's end from the main loop, after this frame.
    for (ScrollView* sv : userEnded) {
        userEnded_.insert(sv);
        loop_.post([this, sv] {
            // Only if the view is still there and no new scroll took over.
            if (userEnded_.erase(sv) == 0) return;
            for (const auto& s : scrolls_)
                if (s.view == sv) return;
            sv->animatorUserScrollEnded();
        });
    }
}

void Animator::tick() { complete(clock_.monotonic(), false); }
void Animator::finishAll() { complete(clock_.monotonic(), true); }

bool Animator::animating() const { return !running_.empty() || !scrolls_.empty() || !wheels_.empty(); }

std::optional<double> Animator::nextEndTime() const {
    std::optional<double> t;
    for (const auto& a : running_)
        if (!t || a.end < *t) t = a.end;
    for (const auto& s : scrolls_)
        if (!t || s.end < *t) t = s.end;
    for (const auto& w : wheels_)
        if (!t || w.end < *t) t = w.end;
    return t;
}

}  // namespace vw::platform
