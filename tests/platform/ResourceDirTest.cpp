// Finding the generated artwork: beside the binary, installed, or the build tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "platform/ResourceDir.h"

namespace vw::platform {
namespace {

namespace fs = std::filesystem;

TEST(ResourceDir, LooksBesideTheBinaryThenInstalledThenTheBuildTree) {
    const auto dirs = resourceDirCandidates("/opt/vw/bin/voltwise");
    ASSERT_EQ(dirs.size(), 3u);
    EXPECT_EQ(dirs[0], "/opt/vw/bin/resources");
    EXPECT_EQ(dirs[1], "/opt/vw/share/voltwise");
    EXPECT_EQ(dirs[2], builtResourceDir());

    std::vector<std::string> asked;
    auto only = [&](std::set<std::string> holding) {
        asked.clear();
        return findResourceDir("/opt/vw/bin/voltwise", [&, holding](const std::string& d) {
            asked.push_back(d);
            return holding.count(d) > 0;
        });
    };
    EXPECT_EQ(only({"/opt/vw/bin/resources", "/opt/vw/share/voltwise"}), "/opt/vw/bin/resources");
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(only({"/opt/vw/share/voltwise"}), "/opt/vw/share/voltwise");
    // Nothing anywhere: the build tree, where a build would put it.
    EXPECT_EQ(only({}), builtResourceDir());
    EXPECT_EQ(asked.size(), 3u);
}

TEST(ResourceDir, WithoutAKnownBinaryOnlyTheBuildTree) {
    EXPECT_EQ(resourceDirCandidates(""), std::vector<std::string>{builtResourceDir()});
    // The build tree's own binary does not list the build tree twice.
    const auto dirs = resourceDirCandidates((fs::path(builtResourceDir()).parent_path() / "voltwise").string());
    EXPECT_EQ(std::set<std::string>(dirs.begin(), dirs.end()).size(), dirs.size());
}

TEST(ResourceDir, ThisProcessFindsTheBuiltArtwork) {
    // The test binaries sit in the build tree, whose artwork the build made.
    const std::string dir = resourceDir();
    EXPECT_TRUE(fs::is_regular_file(fs::path(dir) / kResourceMarker)) << dir;
}

}  // namespace
}  // namespace vw::platform
