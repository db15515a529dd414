#include "screen/SkinPicker.h"

#include "platform/Numbers.h"

namespace vw {

using namespace platform;

namespace {
constexpr Rect kSkinFrame{31, 75, 251, 194};
}  // namespace

void SkinPicker::restore() {
    const auto file = p_.settings.stringForKey(kSkinFileKey);
    if (!file) return;
    skinFileInUse_ = *file;
    // A row stored as text; a fraction or junk after the number is dropped.
    const auto row = p_.settings.stringForKey(kSkinRowSelectedKey);
    skinRowSelected_ = truncatedInt32(leadingDecimal(row.value_or("")));
}

void SkinPicker::store() {
    p_.settings.setObject(skinFileInUse_, kSkinFileKey);
    p_.settings.setObject(std::to_string(skinRowSelected_), kSkinRowSelectedKey);
}

std::shared_ptr<ImageView> SkinPicker::makeSkinView() {
    imageViewSkin_ = std::make_shared<ImageView>(p_.ui, kSkinFrame);
    imageViewSkin_->setName("imageViewSkin");
    imageViewSkin_->setImage(p_.ui.imageNamed(skinFileInUse_));
    return imageViewSkin_;
}

std::string SkinPicker::titleForRow(int row) {
    if (row < 0 || row >= rowCount()) return {};
    return std::string(kSkinCatalogue[static_cast<std::size_t>(row)].title);
}

void SkinPicker::beginPicking() {
    skinFileToShow_ = skinFileInUse_;
    imageViewSkin_->setImage(p_.ui.imageNamed(skinFileInUse_));
}

void SkinPicker::pickerViewDidSelectRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    skinRowSelected_ = row;
    skinFileToShow_ = std::string(kSkinCatalogue[static_cast<std::size_t>(row)].file);
    if (*skinFileToShow_ != kSkinHeadingFile) imageViewSkin_->setImage(p_.ui.imageNamed(*skinFileToShow_));
}

void SkinPicker::save() {
    if (skinFileToShow_) skinFileInUse_ = *skinFileToShow_;
    store();
}

}  // namespace vw
