// The promotional slide show: five panels in an endlessly looping pager, a
// header per panel and a looping tune. It is built hidden above the whole
// screen; the controller shows and dismisses it, and its four-second timer
// moves it on a panel at a time until the user swipes it.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Platform.h"

namespace vw {

class SlideShow final : public platform::ScrollViewDelegate {
public:
    // Builds it, hidden, on top of `root` (loadAdScroller).
    SlideShow(platform::Platform& platform, platform::View& root);

    void showAdScroller();
    void dismissAdScroller();
    // A tick of the timer while the show is on screen: one panel on, unless
    // the user has swiped since the show was opened.
    void adSlideTimer();

    void scrollViewDidEndDecelerating(platform::ScrollView& scrollView) override;

private:
    void loadAdScroller(platform::View& root);
    void slideForwardOneAdFrame();
    void prepareCircularScrollForNextSlide();
    int32_t adScrollPage() const;
    void showHeader(int index);

    platform::Platform& p_;
    std::shared_ptr<platform::ImageView> adBackDropView_;
    std::shared_ptr<platform::ImageView> adHeaderView_;
    std::shared_ptr<platform::ScrollView> sv_;
    std::shared_ptr<platform::AudioPlayer> audioPlayerAdSax_;
    // The page the timer moves to next, counted on the strip (0 and 6 are
    // copies of the last and first panels).
    int32_t adSlideShowing_ = 0;
    bool touchedSlideShowScreen_ = false;  // the user has swiped: the timer stops
    int32_t previousAdScrollPage_ = 0;
};

}  // namespace vw
