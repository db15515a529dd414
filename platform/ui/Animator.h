// View animation blocks and scroll animations.
//
// A block is opened with beginAnimations, configured (delegate, did-stop
// handler, duration) and committed; an animatable property changed while a
// block is open moves from its current on-screen value to the new one over
// the block's duration, starting at the commit. When every animation of a
// block has ended, its did-stop handler gets the block's identifier, whether
// all of them ran to the end, and the context. A running animation that a
// later change of the same property cuts short ends there, unfinished. The
// did-stop handler is called from the main loop, never from inside the call
// that ended the animation.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Geometry.h"
#include "platform/MainLoop.h"
#include "platform/Trace.h"

namespace vw::platform {

class View;
class ScrollView;
class PickerView;

using AnimationDidStop = std::function<void(const std::string& animationID, bool finished, void* context)>;

class Animator {
public:
    Animator(const Clock& clock, MainLoop& loop, Trace* trace);
    ~Animator();

    // Block operations.
    void beginAnimations(const std::string& animationID, void* context);
    void setAnimationDelegate(const std::string& delegate);
    void setAnimationDidStopSelector(const std::string& selector, AnimationDidStop handler);
    void setAnimationDuration(double seconds);
    void commitAnimations();
    bool inBlock() const { return !open_.empty(); }

    // Called by views.
    void transformWillChange(View& view, Transform from, Transform to);
    Transform presentationTransform(const View& view, Transform model) const;
    void startScroll(ScrollView& view, Point from, Point to, double seconds, bool byUser);
    void cancelScroll(ScrollView& view);
    // The picker's wheel turning from one row position to another; one by
    // the user reports the row it settles on from the main loop.
    void startWheel(PickerView& view, float from, float to, double seconds, bool byUser);
    void cancelWheel(PickerView& view);
    bool wheelTurning(const PickerView& view) const;
    int wheelTarget(const PickerView& view) const;
    void forget(const View& view);

    // Advances everything to the clock's time: scroll offsets move, and
    // animations that have reached their end finish.
    void tick();
    // Ends every running animation now, as if its time had come.
    void finishAll();
    bool animating() const;
    std::optional<double> nextEndTime() const;
    // Moves on when a view's transform on screen moves: at every tick of a
    // transform animation and when one ends. Scrolls and wheels move their
    // views, which count their own changes.
    uint64_t revision() const { return revision_; }

    static double ease(double t);  // 0..1 -> 0..1, slow at both ends

private:
    struct Block {
        std::string id;
        void* context = nullptr;
        std::string delegate;
        AnimationDidStop didStop;
        double duration = 0.2;
        int running = 0;
        bool allFinished = true;
        bool committed = false;
    };
    struct TransformAnim {
        View* view;
        Transform from, to;
        double start = 0, end = 0;
        std::shared_ptr<Block> block;
    };
    struct ScrollAnim {
        ScrollView* view;
        Point from, to;
        double start, end;
        bool byUser;
    };

    void endTransformAnim(std::size_t index, bool finished);
    void blockEnded(const std::shared_ptr<Block>& b);
    void complete(double now, bool all);
    void changed() { ++revision_; }

    const Clock& clock_;
    MainLoop& loop_;
    Trace* trace_;
    std::vector<std::shared_ptr<Block>> open_;
    std::vector<TransformAnim> pending_;  // in open blocks, waiting for the commit
    std::vector<TransformAnim> running_;
    struct WheelAnim {
        PickerView* view;
        float from, to;
        double start, end;
        bool byUser;
    };

    std::vector<ScrollAnim> scrolls_;
    std::vector<WheelAnim> wheels_;
    std::set<const View*> userEnded_;  // scroll views whose swipe-end report is queued
    std::set<const View*> wheelSettled_;  // pickers whose settled row is queued
    uint64_t revision_ = 0;
};

}  // namespace vw::platform
