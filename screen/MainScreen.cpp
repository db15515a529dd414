// Building the screen, the touch handler, and the picker's two lists.
#include <cstdio>

#include "controller/VoltwiseViewController.h"
#include "rating/RatingPrompt.h"
#include "screen/SkinCatalogue.h"

namespace vw {

using namespace platform;

namespace {
constexpr Rect kOutlineFrame{1, 5, 320, 264};
constexpr Rect kSkinFrame{31, 75, 251, 194};
constexpr Rect kFillerFrame{157, 74, 251, 194};
constexpr Rect kTextFrame{110, 119, 200, 100};
constexpr float kButtonWidth = 95, kButtonHeight = 23, kButtonTop = 237;
constexpr float kPickerHeight = 216;
}  // namespace

void VoltwiseViewController::loadView() {
    Ui& ui = p_.ui;
    view_ = std::make_shared<View>(ui, p_.application.screenBounds().value_or(Rect{}));
    view_->setName("view");

    screenHeight = p_.application.screenBounds().value_or(Rect{}).height;
    vertSpacer = truncatedInt32(static_cast<double>(screenHeight - 480.0f) / 1.5);

    imageView = std::make_shared<ImageView>(ui, kOutlineFrame);
    imageView->setName("imageView");
    imageView->setImage(ui.imageNamed("battery_empty_4.png"));
    view_->addSubview(imageView);

    imageViewSkin = std::make_shared<ImageView>(ui, kSkinFrame);
    imageViewSkin->setName("imageViewSkin");
    imageViewSkin->setImage(ui.imageNamed(skinFileInUse));
    view_->addSubview(imageViewSkin);

    imageSliceView = std::make_shared<ImageView>(ui, kFillerFrame);
    imageSliceView->setName("imageSliceView");
    imageSliceView->setAnchorPoint({1.0f, 0.5f});
    imageSliceView->setImage(ui.imageNamed("battery_empty_filler.png"));
    view_->addSubview(imageSliceView);

    pickerView = std::make_shared<PickerView>(ui, Rect{0, bounds.height - kPickerHeight, 0, 0});
    pickerView->setName("pickerView");
    pickerView->setDelegate(this, "VoltwiseViewController");
    pickerView->setDataSource(this, "VoltwiseViewController");
    pickerView->setShowsSelectionIndicator(true);
    view_->addSubview(pickerView);
    pickerView->selectRow(pickerSelectRow, 0, true);
    pickerView->setBackgroundColor(Colour::white());

    activities = std::make_unique<std::vector<std::string>>();

    const float buttonY = static_cast<float>(vertSpacer + static_cast<int32_t>(kButtonTop));
    auto button = [&](const char* name, float x, const char* image) {
        auto b = std::make_shared<ImageView>(ui, Rect{x, buttonY, kButtonWidth, kButtonHeight});
        b->setName(name);
        b->setImage(ui.imageNamed(image));
        return b;
    };
    btnCustomizeView = button("btnCustomizeView", 3, "btn_chrome_customize.png");
    btnGetProView = button("btnGetProView", 113, "btn_chrome_pro_vs_free.png");
    btnOurAppsView = button("btnOurAppsView", 222, "btn_chrome_our_apps.png");
    btnSaveView = button("btnSaveView", 110, "btn_chrome_save.png");
    for (const auto& b : {btnSaveView, btnCustomizeView, btnGetProView, btnOurAppsView}) view_->addSubview(b);
    for (const auto& b : {btnSaveView, btnCustomizeView, btnGetProView, btnOurAppsView}) b->setHidden(true);

    textView = std::make_shared<TextView>(ui, kTextFrame);
    textView->setName("textView");
    textView->setBackgroundColor(Colour::clear());
    textView->setTextColor(batteryLevel > 10 ? Colour::white() : Colour::red());
    textView->setFont(Font{"Verdana-Bold", 32});
    textView->setTextAlignment(TextAlignment::Left);
    textView->setEditable(false);
    textView->setText(percentTextFor(batteryLevel));
    view_->addSubview(textView);

    const auto chime = p_.bundle.pathForResource("voltwise_sound", "wav", "/");
    batteryAlert = p_.audio.createSystemSound(chime.value_or(""));

    RatingPrompt::appLaunched(p_, config_);
    loadScreen();
}

void VoltwiseViewController::touchesBegan(const TouchSet& touches, const Event*) {
    Point at{0, 0};
    if (!touches.empty()) at = touches.front().locationInView(view_.get());
    const float x = at.x, y = at.y;
    p_.log.format("y->%1.3f x->%1.3f", static_cast<double>(y), static_cast<double>(x));

    if (lateLoadingDone != 1) return;

    if (showingAdSlideShow == 1) {
        if (x > 80) {
            appStoreUrl = config_.paidEditionUrl();
            p_.application.openURL(*appStoreUrl);
        } else if (x < 80) {
            if (pickerView) pickerView->setHidden(false);
            dismissAdScroller();
        }
        return;
    }

    const float bandTop = static_cast<float>(vertSpacer + 226);
    const float bandBottom = static_cast<float>(vertSpacer + 266);
    if (!(bandTop < y && y < bandBottom)) return;

    if (pickingSkins != 0) {
        if (!(100 < x && x < 217)) return;
        if (skinFileToShow) skinFileInUse = *skinFileToShow;
        defaults = &p_.settings;
        defaults->setObject(skinFileInUse, kSkinFileKey);
        skinRowSelectedStr = std::to_string(skinRowSelected);
        defaults->setObject(*skinRowSelectedStr, kSkinRowSelectedKey);
        p_.settings.synchronize();
        btnCustomizeView->setHidden(false);
        btnGetProView->setHidden(false);
        btnOurAppsView->setHidden(false);
        btnSaveView->setHidden(true);
        loadScreen();
        return;
    }

    if (0 < x && x < 103) {
        pickingSkins = 1;
        pushedCustomizeButton = 1;
        customizeScreen();
    }
    if (106 < x && x < 214) {
        if (pickerView) pickerView->setHidden(true);
        showAdScroller();
    }
    if (216 < x && x < 321) {
        appStoreUrl = config_.catalogueUrl();
        p_.application.openURL(*appStoreUrl);
    }
}

void VoltwiseViewController::customizeScreen() {
    pickerSelectRow = skinRowSelected;
    if (pushedCustomizeButton == 1) {
        pickerView->reloadAllComponents();
        pickerView->selectRow(pickerSelectRow, 0, true);
        skinFileToShow = skinFileInUse;
        imageViewSkin->setImage(p_.ui.imageNamed(skinFileInUse));
        pushedCustomizeButton = 0;
        btnCustomizeView->setHidden(true);
        btnGetProView->setHidden(true);
        btnOurAppsView->setHidden(true);
        btnSaveView->setHidden(false);
    } else {
        imageViewSkin->setImage(p_.ui.imageNamed(skinFileToShow.value_or("")));
    }
}

int VoltwiseViewController::numberOfComponentsInPickerView(PickerView&) { return 1; }

float VoltwiseViewController::pickerViewRowHeightForComponent(PickerView&, int) { return 50.0f; }

int VoltwiseViewController::pickerViewNumberOfRowsInComponent(PickerView&, int) {
    if (pickingSkins == 1) return static_cast<int>(skinsTitles.size());
    return activities ? static_cast<int>(activities->size()) : 0;
}

std::string VoltwiseViewController::pickerViewTitleForRow(PickerView&, int row, int) {
    const std::vector<std::string>* list = pickingSkins == 1 ? &skinsTitles : activities.get();
    if (!list || row < 0 || row >= static_cast<int>(list->size())) return {};
    return (*list)[static_cast<std::size_t>(row)];
}

void VoltwiseViewController::pickerViewDidSelectRow(PickerView&, int row, int) {
    if (pickingSkins != 1) return;
    if (row < 0 || row >= static_cast<int>(skinsFiles.size())) return;
    skinRowSelected = row;
    skinFileToShow = skinsFiles[static_cast<std::size_t>(row)];
    if (*skinFileToShow != kSkinHeadingFile) customizeScreen();
}

}  // namespace vw
