// The promotional slide show: five panels in an endlessly looping pager,
// a header per panel, a looping tune, advanced by the four-second timer.
#include <cmath>

#include "controller/VoltwiseViewController.h"

namespace vw {

using namespace platform;

namespace {
constexpr float kPageWidth = 320, kPageHeight = 366;
constexpr Rect kBackdropFrame{0, 0, 320, 480};
constexpr Rect kHeaderFrame{0, 0, 320, 73};
constexpr Rect kPagerFrame{0, 72, 320, 366};

Rect pageRect(int32_t page) { return {kPageWidth * static_cast<float>(page), 0, kPageWidth, kPageHeight}; }
}  // namespace

void VoltwiseViewController::showHeader(int index) {
    // A page off the strip (mid-bounce, say) has no header: keep the one shown.
    if (!adHeaderView || !slideHeaders || index < 0 || index >= static_cast<int>(slideHeaders->size())) return;
    adHeaderView->setImage(p_.ui.imageNamed((*slideHeaders)[static_cast<std::size_t>(index)]));
}

int32_t VoltwiseViewController::adScrollPage() const {
    const float x = sv->contentOffset().x;
    const float w = sv->frame().width;
    const float n = static_cast<float>(slideImages->size());
    const float page = std::floor((x - w / (n + 2.0f)) / w);
    return truncatedInt32(static_cast<double>(page) + 1.0);
}

void VoltwiseViewController::loadAdScroller() {
    Ui& ui = p_.ui;
    adBackDropView = std::make_shared<ImageView>(ui, kBackdropFrame);
    adBackDropView->setName("adBackDropView");
    adBackDropView->setImage(ui.imageNamed("ad_backdrop.png"));
    view_->addSubview(adBackDropView);
    adBackDropView->setHidden(true);

    adHeaderView = std::make_shared<ImageView>(ui, kHeaderFrame);
    adHeaderView->setName("adHeaderView");
    adHeaderView->setImage(ui.imageNamed("ad_panel_music_on.png"));
    adBackDropView->addSubview(adHeaderView);

    showingAdSlideShow = 0;
    touchedSlideShowScreen = 0;
    adSlideShowing = 0;

    sv = std::make_shared<ScrollView>(ui, kPagerFrame);
    sv->setName("sv");
    sv->setBounces(true);
    sv->setPagingEnabled(true);
    sv->setUserInteractionEnabled(true);
    sv->setDelegate(this, "VoltwiseViewController");
    sv->setHidden(true);

    slideImages = std::make_unique<std::vector<std::string>>(std::vector<std::string>{
        "ad_music_panel.png", "ad_accuracy_panel.png", "ad_full_cycle_panel.png", "ad_charge_display_panel.png",
        "ad_tips_panel.png"});
    slideHeaders = std::make_unique<std::vector<std::string>>(std::vector<std::string>{
        "ad_panel_music_on.png", "ad_panel_accuracy_on.png", "ad_panel_full_cycle_on.png",
        "ad_panel_charge_display_on.png", "ad_panel_tips_on.png", "ad_panel_music_on.png", "ad_panel_accuracy_on.png"});
    const int32_t n = static_cast<int32_t>(slideImages->size());

    auto page = [&](const std::string& image, int32_t index) {
        auto v = std::make_shared<ImageView>(ui, ui.imageNamed(image));
        v->setFrame(pageRect(index));
        sv->addSubview(v);
    };
    page((*slideImages)[static_cast<std::size_t>(n - 1)], 0);
    for (int32_t i = 0; i < n; ++i) page((*slideImages)[static_cast<std::size_t>(i)], i + 1);
    page((*slideImages)[0], n + 1);

    sv->setContentSize({kPageWidth * static_cast<float>(n) + 640, kPageHeight});
    sv->setContentOffset({0, 0});
    view_->addSubview(sv);
    sv->scrollRectToVisible(pageRect(1), false);

    const auto tune = p_.bundle.pathForResource("saxophone_cool_riff_1", "mp3");
    audioPlayerAdSax = p_.audio.createPlayer(tune.value_or(""));
    if (audioPlayerAdSax) {
        audioPlayerAdSax->setVolume(0.15f);
        audioPlayerAdSax->setNumberOfLoops(-1);
        audioPlayerAdSax->prepareToPlay();
    }
}

void VoltwiseViewController::showAdScroller() {
    if (!sv) return;
    adBackDropView->setHidden(false);
    sv->setHidden(false);
    showingAdSlideShow = 1;
    touchedSlideShowScreen = 0;
    if (audioPlayerAdSax) audioPlayerAdSax->play();
}

void VoltwiseViewController::dismissAdScroller() {
    if (!sv) return;
    adBackDropView->setHidden(true);
    sv->setHidden(true);
    showingAdSlideShow = 0;
    adSlideShowing = 1;
    showHeader(0);
    sv->scrollRectToVisible(pageRect(1), false);
    if (audioPlayerAdSax) {
        audioPlayerAdSax->stop();
        audioPlayerAdSax->setCurrentTime(0.0);
    }
}

void VoltwiseViewController::adSlideTimer() {
    if (touchedSlideShowScreen == 0 && showingAdSlideShow == 1) slideForwardOneAdFrame();
}

void VoltwiseViewController::slideForwardOneAdFrame() {
    adSlideShowing += 1;
    sv->scrollRectToVisible(pageRect(adSlideShowing), true);
    prepareCircularScrollForNextSlide();
    if (adSlideShowing == 1) {
        showHeader(0);
        slideForwardOneAdFrame();
    }
}

void VoltwiseViewController::prepareCircularScrollForNextSlide() {
    const int32_t page = adScrollPage();
    const int32_t n = static_cast<int32_t>(slideImages->size());
    currentAdScrollPage = page;
    previousAdScrollPage = page;
    p_.log.format("currentAdScrollPage----->%d adSlideShowing-->%d", page, adSlideShowing);
    if (touchedSlideShowScreen == 0) showHeader(page);
    if (page == 0) {
        adSlideShowing = n;
        sv->scrollRectToVisible(pageRect(n), false);
    } else if (page == n + 1) {
        adSlideShowing = 1;
        sv->scrollRectToVisible(pageRect(1), false);
    }
}

void VoltwiseViewController::scrollViewDidEndDecelerating(ScrollView&) {
    const int32_t page = adScrollPage();
    currentAdScrollPage = page;
    p_.log.format("TOUCHED scroll ###### previousAdScrollPage->%d currentAdScrollPage->%d", previousAdScrollPage, page);
    showHeader(page == 0 ? 4 : page - 1);
    touchedSlideShowScreen = 1;
    prepareCircularScrollForNextSlide();
}

}  // namespace vw
