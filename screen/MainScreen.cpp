// Building the screen, the touch handler, and the picker's two lists.
#include "controller/VoltwiseViewController.h"
#include "platform/Numbers.h"
#include "rating/RatingPrompt.h"

namespace vw {

using namespace platform;

namespace {
constexpr Rect kOutlineFrame{1, 5, 320, 264};
constexpr Rect kPercentFrame = BatteryReadout::kPercentFrame;
constexpr float kButtonWidth = 95, kButtonHeight = 23, kButtonTop = 237;
constexpr float kPickerHeight = 216;
}  // namespace

void VoltwiseViewController::loadView() {
    Ui& ui = p_.ui;
    view_ = std::make_shared<View>(ui, p_.application.screenBounds().value_or(Rect{}));
    view_->setName("view");

    const float screenHeight = p_.application.screenBounds().value_or(Rect{}).height;
    vertSpacer_ = truncatedInt32(static_cast<double>(screenHeight - 480.0f) / 1.5);

    auto outline = std::make_shared<ImageView>(ui, kOutlineFrame);
    outline->setName("imageView");
    outline->setImage(ui.imageNamed("battery_empty_4.png"));
    view_->addSubview(outline);
    view_->addSubview(skins_.makeSkinView());
    view_->addSubview(readout_.makeFiller());

    pickerView_ = std::make_shared<PickerView>(ui, Rect{0, bounds_.height - kPickerHeight, 0, 0});
    pickerView_->setName("pickerView");
    pickerView_->setDelegate(this, "VoltwiseViewController");
    pickerView_->setDataSource(this, "VoltwiseViewController");
    pickerView_->setShowsSelectionIndicator(true);
    view_->addSubview(pickerView_);
    pickerView_->selectRow(readout_.selectedRow(), 0, true);
    pickerView_->setBackgroundColor(Colour::white());

    const float buttonY = static_cast<float>(vertSpacer_ + static_cast<int32_t>(kButtonTop));
    auto button = [&](const char* name, float x, const char* image) {
        auto b = std::make_shared<ImageView>(ui, Rect{x, buttonY, kButtonWidth, kButtonHeight});
        b->setName(name);
        b->setImage(ui.imageNamed(image));
        return b;
    };
    btnCustomizeView_ = button("btnCustomizeView", 3, "btn_chrome_customize.png");
    btnGetProView_ = button("btnGetProView", 113, "btn_chrome_pro_vs_free.png");
    btnOurAppsView_ = button("btnOurAppsView", 222, "btn_chrome_our_apps.png");
    btnSaveView_ = button("btnSaveView", 110, "btn_chrome_save.png");
    for (const auto& b : {btnSaveView_, btnCustomizeView_, btnGetProView_, btnOurAppsView_}) view_->addSubview(b);
    for (const auto& b : {btnSaveView_, btnCustomizeView_, btnGetProView_, btnOurAppsView_}) b->setHidden(true);

    view_->addSubview(readout_.makePercentView());
    readout_.loadChime();

    RatingPrompt::appLaunched(p_, config_);
    loadScreen();
}

void VoltwiseViewController::touchesBegan(const TouchSet& touches, const Event*) {
    Point at{0, 0};
    if (!touches.empty()) at = touches.front().locationInView(view_.get());
    const float x = at.x, y = at.y;
    p_.log.format("y->%1.3f x->%1.3f", static_cast<double>(y), static_cast<double>(x));

    if (mode_ == Mode::Loading) return;

    // The history takes every touch: the week after the day, then back.
    if (mode_ == Mode::History) {
        showHistory();
        return;
    }

    // The slide show takes the whole screen: its left quarter closes it, the
    // rest opens the paid edition's page.
    if (mode_ == Mode::SlideShow) {
        if (x > 80) {
            openStorePage(config_.paidEditionUrl());
        } else if (x < 80) {
            pickerView_->setHidden(false);
            slideShow_->dismissAdScroller();
            mode_ = Mode::Normal;
        }
        return;
    }

    // Elsewhere only the button strip's band counts.
    const float bandTop = static_cast<float>(vertSpacer_ + 226);
    const float bandBottom = static_cast<float>(vertSpacer_ + 266);
    // Above the strip, this computer's percentage moves to the next battery
    // on the desk, and the rest of the battery opens its history.
    if (mode_ == Mode::Normal && computer_ && kOutlineFrame.y < y && y <= bandTop) {
        if (kPercentFrame.x < x && x < kPercentFrame.x + kPercentFrame.width && kPercentFrame.y < y &&
            y < kPercentFrame.y + kPercentFrame.height && showNextBattery(1))
            return;
        showHistory();
        return;
    }
    if (!(bandTop < y && y < bandBottom)) return;

    if (mode_ == Mode::SkinPicking) {
        if (!(100 < x && x < 217)) return;
        skins_.save();
        p_.settings.synchronize();
        showSaveButton(false);
        loadScreen();
        return;
    }

    if (0 < x && x < 103) {
        mode_ = Mode::SkinPicking;
        customizeScreen();
    }
    if (106 < x && x < 214) {
        pickerView_->setHidden(true);
        showAdScroller();
    }
    if (216 < x && x < 321) openStorePage(config_.catalogueUrl());
}

bool VoltwiseViewController::showHistory() {
    if (!computer_ || !view_) return false;
    if (mode_ == Mode::History) {
        if (history_->span() == HistoryView::Span::Week) return closeHistory();
        history_->show(*computer_, HistoryView::Span::Week);
        return true;
    }
    if (mode_ != Mode::Normal) return false;
    if (!history_) {
        history_ = std::make_unique<HistoryView>(p_, Rect{0, 0, view_->boundsSize().width, view_->boundsSize().height});
        view_->addSubview(history_->view());
    }
    history_->show(*computer_, HistoryView::Span::Day);
    mode_ = Mode::History;
    return true;
}

bool VoltwiseViewController::showNextBattery(int step) {
    if (!computer_ || mode_ != Mode::Normal || !computer_->showNext(step)) return false;
    readout_.setBeepOnLoad(false);
    loadScreen();
    return true;
}

bool VoltwiseViewController::closeHistory() {
    if (mode_ != Mode::History) return false;
    history_->hide();
    mode_ = Mode::Normal;
    return true;
}

void VoltwiseViewController::openStorePage(const std::string& url) { p_.application.openURL(url); }

void VoltwiseViewController::showAdScroller() {
    slideShow_->showAdScroller();
    mode_ = Mode::SlideShow;
}

void VoltwiseViewController::customizeScreen() {
    pickerView_->reloadAllComponents();
    pickerView_->selectRow(skins_.skinRowSelected(), 0, true);
    skins_.beginPicking();
    showSaveButton(true);
}

void VoltwiseViewController::showSaveButton(bool save) {
    btnCustomizeView_->setHidden(save);
    btnGetProView_->setHidden(save);
    btnOurAppsView_->setHidden(save);
    btnSaveView_->setHidden(!save);
}

void VoltwiseViewController::adSlideTimer() {
    if (mode_ == Mode::SlideShow) slideShow_->adSlideTimer();
}

int VoltwiseViewController::numberOfComponentsInPickerView(PickerView&) { return 1; }

float VoltwiseViewController::pickerViewRowHeightForComponent(PickerView&, int) { return 50.0f; }

int VoltwiseViewController::pickerViewNumberOfRowsInComponent(PickerView&, int) {
    if (mode_ == Mode::SkinPicking) return SkinPicker::rowCount();
    return static_cast<int>(readout_.lines().size());
}

std::string VoltwiseViewController::pickerViewTitleForRow(PickerView&, int row, int) {
    if (mode_ == Mode::SkinPicking) return SkinPicker::titleForRow(row);
    const auto& lines = readout_.lines();
    if (row < 0 || row >= static_cast<int>(lines.size())) return {};
    return lines[static_cast<std::size_t>(row)];
}

void VoltwiseViewController::pickerViewDidSelectRow(PickerView&, int row, int) {
    if (mode_ == Mode::SkinPicking) skins_.pickerViewDidSelectRow(row);
}

}  // namespace vw
