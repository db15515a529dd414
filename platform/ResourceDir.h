// Where the application's generated images and sounds live.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vw::platform {

// The resources folder of the build tree this binary was built in.
std::string builtResourceDir();

// The folders to look in, first match wins: "resources" next to the binary
// (a build tree, or an unpacked copy), the installed data folder relative to
// the binary (PREFIX/bin -> PREFIX/share/voltwise), then the build tree.
std::vector<std::string> resourceDirCandidates(const std::string& executablePath);

// The first candidate that holds the artwork (checked by `holdsResources`), or
// the build tree's folder when none does.
std::string findResourceDir(const std::string& executablePath,
                            const std::function<bool(const std::string&)>& holdsResources);

// findResourceDir for this process: the binary from /proc/self/exe, a folder
// counting as a resources folder when the battery outline is in it.
std::string resourceDir();

// A file every complete resources folder holds.
inline constexpr const char* kResourceMarker = "battery_empty_4.png";

}  // namespace vw::platform
