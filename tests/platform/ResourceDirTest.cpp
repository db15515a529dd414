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
    EXPECT_EQ(resourceDirCandidates("/opt/vw/bin/voltwise"),
              (std::vector<std::string>{"/opt/vw/bin/resources", "/opt/vw/share/voltwise", builtResourceDir()}));
    std::vector<std::string> asked;
    auto only = [&](std::set<std::string> holding) {
        asked.clear();
        return findResourceDir("/opt/vw/bin/voltwise", [&, holding](const std::string& d) {
            asked.push_back(d);
            return holding.count(d) > 0;
        });
    };
    // Nothing anywhere: the build tree, where a build would put it.
    using Holding = std::set<std::string>;
    for (const auto& [holding, found, asks] :
         {std::tuple{Holding{"/opt/vw/bin/resources", "/opt/vw/share/voltwise"}, std::string("/opt/vw/bin/resources"), 1u},
          {Holding{"/opt/vw/share/voltwise"}, "/opt/vw/share/voltwise", 2u}, {Holding{}, builtResourceDir(), 3u}}) {
        EXPECT_EQ(only(holding), found);
        EXPECT_EQ(asked.size(), asks) << found;
    }
}

TEST(ResourceDir, WithoutAKnownBinaryOnlyTheBuildTree) {
    EXPECT_EQ(resourceDirCandidates(""), std::vector<std::string>{builtResourceDir()});
    // The build tree's own binary does not list the build tree twice.
    const auto dirs = resourceDirCandidates((fs::path(builtResourceDir()).parent_path() / "voltwise").string());
    EXPECT_EQ(std::set<std::string>(dirs.begin(), dirs.end()).size(), dirs.size());
}

// The test binaries sit in the build tree, whose artwork the build made.
TEST(ResourceDir, ThisProcessFindsTheBuiltArtwork) {
    const std::string dir = resourceDir();
    EXPECT_TRUE(fs::is_regular_file(fs::path(dir) / kResourceMarker)) << dir;
}

}  // namespace
}  // namespace vw::platform
