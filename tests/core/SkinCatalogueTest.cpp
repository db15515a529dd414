#include <gtest/gtest.h>

#include <set>

#include "screen/SkinCatalogue.h"

namespace vw {
namespace {

TEST(SkinCatalogue, RowsAndOddNames) {
    ASSERT_EQ(kSkinCatalogue.size(), 58u);
    EXPECT_EQ(kSkinCatalogue[0].title, "Blue");
    EXPECT_EQ(kSkinCatalogue[kDefaultSkinRow].file, kDefaultSkinFile);
    EXPECT_EQ(kSkinCatalogue[kDefaultSkinRow].title, "Green");
    EXPECT_EQ(kSkinCatalogue[9].title, "Rainbow Spash");
    EXPECT_EQ(kSkinCatalogue[9].file, "rainbow_stars_skin.png");
    EXPECT_EQ(kSkinCatalogue[13].file, "lightening_skin.png");
    EXPECT_EQ(kSkinCatalogue[18].file, "argyle_pink_skin.png");
    EXPECT_EQ(kSkinCatalogue[26].title, "Butterflyfish");
    EXPECT_EQ(kSkinCatalogue[26].file, "angelfish_skin.png");
    EXPECT_EQ(kSkinCatalogue[28].file, "tiger_skin.png");
    EXPECT_EQ(kSkinCatalogue[57].title, "Soccer Player");
}

TEST(SkinCatalogue, FilesAreDistinctPngsAndNoHeadings) {
    std::set<std::string_view> files, titles;
    for (const auto& row : kSkinCatalogue) {
        EXPECT_TRUE(row.file.ends_with("_skin.png")) << row.file;
        EXPECT_NE(row.file, kSkinHeadingFile);
        files.insert(row.file);
        titles.insert(row.title);
    }
    EXPECT_EQ(files.size(), 58u);
    EXPECT_EQ(titles.size(), 58u);
}

}  // namespace
}  // namespace vw
