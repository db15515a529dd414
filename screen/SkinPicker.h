// The skin picker: the skin in use under the gauge, the one shown while the
// user turns the picker through the catalogue, and the stored choice.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "screen/SkinCatalogue.h"

namespace vw {

inline constexpr const char* kSkinFileKey = "skin_file";
inline constexpr const char* kSkinRowSelectedKey = "skin_row_selected";

class SkinPicker {
public:
    explicit SkinPicker(platform::Platform& platform) : p_(platform) {}

    // The choice stored by an earlier run, when there is one.
    void restore();
    // Writes the choice to the settings (the caller synchronizes).
    void store();

    // The view under the gauge, showing the skin in use.
    std::shared_ptr<platform::ImageView> makeSkinView();

    const std::string& skinFileInUse() const { return skinFileInUse_; }
    // The charge band's choice: below 15 percent the red fill takes the
    // skin's place, and keeps it.
    void setSkinFileInUse(const std::string& file) { skinFileInUse_ = file; }

    // The picker's rows while picking.
    static int rowCount() { return static_cast<int>(kSkinCatalogue.size()); }
    static std::string titleForRow(int row);
    int skinRowSelected() const { return skinRowSelected_; }

    // The customize screen opens on the skin in use.
    void beginPicking();
    // The user turned the picker to `row`: shown in the skin view.
    void pickerViewDidSelectRow(int row);
    // Save: the skin shown becomes the one in use, and is stored.
    void save();

private:
    platform::Platform& p_;
    std::string skinFileInUse_{kDefaultSkinFile};
    int32_t skinRowSelected_ = kDefaultSkinRow;
    std::optional<std::string> skinFileToShow_;
    std::shared_ptr<platform::ImageView> imageViewSkin_;
};

}  // namespace vw
