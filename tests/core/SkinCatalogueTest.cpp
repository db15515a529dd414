#include <gtest/gtest.h>
#include <set>
#include "screen/SkinCatalogue.h"

namespace vw {
namespace {

TEST(SkinCatalogue, DistinctSkinsAndTheDefaultRow) {
    std::set<std::string_view> files, titles;
    for (const auto& row : kSkinCatalogue) {
        EXPECT_TRUE(row.file.ends_with("_skin.png")) << row.file;
        files.insert(row.file);
        titles.insert(row.title);
    }
    EXPECT_EQ(files.size(), kSkinCatalogue.size());
    EXPECT_EQ(titles.size(), kSkinCatalogue.size());
    EXPECT_EQ(kSkinCatalogue[kDefaultSkinRow].file, kDefaultSkinFile);
    // Stored settings name these files, and rows: their odd spellings stay.
    for (const auto& [row, title, file] : std::vector<std::tuple<std::size_t, std::string_view, std::string_view>>{
             {9, "Rainbow Spash", "rainbow_stars_skin.png"}, {13, "Lightning", "lightening_skin.png"},
             {18, "Pink Argyle", "argyle_pink_skin.png"}, {26, "Butterflyfish", "angelfish_skin.png"},
             {57, "Soccer Player", "soccer_player_skin.png"}}) {
        EXPECT_EQ(kSkinCatalogue.at(row).title, title);
        EXPECT_EQ(kSkinCatalogue.at(row).file, file);
    }
}

}  // namespace
}  // namespace vw
