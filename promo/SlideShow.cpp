#include "promo/SlideShow.h"

#include <array>
#include <cmath>

#include "platform/Numbers.h"

namespace vw {

using namespace platform;

namespace {
constexpr float kPageWidth = 320, kPageHeight = 366;
constexpr Rect kBackdropFrame{0, 0, 320, 480};
constexpr Rect kHeaderFrame{0, 0, 320, 73};
constexpr Rect kPagerFrame{0, 72, 320, 366};

constexpr std::array<const char*, 5> kSlideImages = {"ad_music_panel.png", "ad_accuracy_panel.png",
                                                     "ad_full_cycle_panel.png", "ad_charge_display_panel.png",
                                                     "ad_tips_panel.png"};
// One header per page of the strip but the first copy.
constexpr std::array<const char*, 7> kSlideHeaders = {
    "ad_panel_music_on.png", "ad_panel_accuracy_on.png", "ad_panel_full_cycle_on.png", "ad_panel_charge_display_on.png",
    "ad_panel_tips_on.png",  "ad_panel_music_on.png",    "ad_panel_accuracy_on.png"};
constexpr int32_t kPanels = static_cast<int32_t>(kSlideImages.size());

Rect pageRect(int32_t page) { return {kPageWidth * static_cast<float>(page), 0, kPageWidth, kPageHeight}; }
}  // namespace

SlideShow::SlideShow(Platform& platform, View& root) : p_(platform) { loadAdScroller(root); }

void SlideShow::showHeader(int index) {
    // A page off the strip (mid-bounce, say) has no header: keep the one shown.
    if (index < 0 || index >= static_cast<int>(kSlideHeaders.size())) return;
    adHeaderView_->setImage(p_.ui.imageNamed(kSlideHeaders[static_cast<std::size_t>(index)]));
}

int32_t SlideShow::adScrollPage() const {
    const float x = sv_->contentOffset().x;
    const float w = sv_->frame().width;
    const float page = std::floor((x - w / (static_cast<float>(kPanels) + 2.0f)) / w);
    return truncatedInt32(static_cast<double>(page) + 1.0);
}

void SlideShow::loadAdScroller(View& root) {
    Ui& ui = p_.ui;
    adBackDropView_ = std::make_shared<ImageView>(ui, kBackdropFrame);
    adBackDropView_->setName("adBackDropView");
    adBackDropView_->setImage(ui.imageNamed("ad_backdrop.png"));
    root.addSubview(adBackDropView_);
    adBackDropView_->setHidden(true);

    adHeaderView_ = std::make_shared<ImageView>(ui, kHeaderFrame);
    adHeaderView_->setName("adHeaderView");
    adHeaderView_->setImage(ui.imageNamed(kSlideHeaders[0]));
    adBackDropView_->addSubview(adHeaderView_);

    sv_ = std::make_shared<ScrollView>(ui, kPagerFrame);
    sv_->setName("sv");
    sv_->setBounces(true);
    sv_->setPagingEnabled(true);
    sv_->setUserInteractionEnabled(true);
    sv_->setDelegate(this, "VoltwiseViewController");
    sv_->setHidden(true);

    // The last panel, the five, then the first again: the strip loops.
    auto page = [&](const char* image, int32_t index) {
        auto v = std::make_shared<ImageView>(ui, ui.imageNamed(image));
        v->setFrame(pageRect(index));
        sv_->addSubview(v);
    };
    page(kSlideImages[kPanels - 1], 0);
    for (int32_t i = 0; i < kPanels; ++i) page(kSlideImages[static_cast<std::size_t>(i)], i + 1);
    page(kSlideImages[0], kPanels + 1);

    sv_->setContentSize({kPageWidth * static_cast<float>(kPanels) + 640, kPageHeight});
    sv_->setContentOffset({0, 0});
    root.addSubview(sv_);
    sv_->scrollRectToVisible(pageRect(1), false);

    const auto tune = p_.bundle.pathForResource("saxophone_cool_riff_1", "mp3");
    audioPlayerAdSax_ = p_.audio.createPlayer(tune.value_or(""));
    if (audioPlayerAdSax_) {
        audioPlayerAdSax_->setVolume(0.15f);
        audioPlayerAdSax_->setNumberOfLoops(-1);
        audioPlayerAdSax_->prepareToPlay();
    }
}

void SlideShow::showAdScroller() {
    adBackDropView_->setHidden(false);
    sv_->setHidden(false);
    touchedSlideShowScreen_ = false;
    if (audioPlayerAdSax_) audioPlayerAdSax_->play();
}

void SlideShow::dismissAdScroller() {
    adBackDropView_->setHidden(true);
    sv_->setHidden(true);
    adSlideShowing_ = 1;
    showHeader(0);
    sv_->scrollRectToVisible(pageRect(1), false);
    if (audioPlayerAdSax_) {
        audioPlayerAdSax_->stop();
        audioPlayerAdSax_->setCurrentTime(0.0);
    }
}

void SlideShow::adSlideTimer() {
    if (!touchedSlideShowScreen_) slideForwardOneAdFrame();
}

void SlideShow::slideForwardOneAdFrame() {
    adSlideShowing_ += 1;
    sv_->scrollRectToVisible(pageRect(adSlideShowing_), true);
    prepareCircularScrollForNextSlide();
    if (adSlideShowing_ == 1) {
        showHeader(0);
        slideForwardOneAdFrame();
    }
}

void SlideShow::prepareCircularScrollForNextSlide() {
    const int32_t page = adScrollPage();
    previousAdScrollPage_ = page;
    p_.log.format("currentAdScrollPage----->%d adSlideShowing-->%d", page, adSlideShowing_);
    if (!touchedSlideShowScreen_) showHeader(page);
    if (page == 0) {
        adSlideShowing_ = kPanels;
        sv_->scrollRectToVisible(pageRect(kPanels), false);
    } else if (page == kPanels + 1) {
        adSlideShowing_ = 1;
        sv_->scrollRectToVisible(pageRect(1), false);
    }
}

void SlideShow::scrollViewDidEndDecelerating(ScrollView&) {
    const int32_t page = adScrollPage();
    p_.log.format("TOUCHED scroll ###### previousAdScrollPage->%d currentAdScrollPage->%d", previousAdScrollPage_, page);
    showHeader(page == 0 ? 4 : page - 1);
    touchedSlideShowScreen_ = true;
    prepareCircularScrollForNextSlide();
}

}  // namespace vw
