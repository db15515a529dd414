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
}

}  // namespace
}  // namespace vw
