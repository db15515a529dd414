#include "platform/ResourceDir.h"

#include <filesystem>
#include <system_error>

#ifndef VW_RESOURCE_DIR
#define VW_RESOURCE_DIR "resources"
#endif
#ifndef VW_INSTALLED_DATA_DIR
#define VW_INSTALLED_DATA_DIR "../share/voltwise"
#endif

namespace vw::platform {

namespace fs = std::filesystem;

std::string builtResourceDir() { return VW_RESOURCE_DIR; }

std::vector<std::string> resourceDirCandidates(const std::string& executablePath) {
    std::vector<std::string> dirs;
    if (!executablePath.empty()) {
        const fs::path bin = fs::path(executablePath).parent_path();
        dirs.push_back((bin / "resources").lexically_normal().string());
        dirs.push_back((bin / VW_INSTALLED_DATA_DIR).lexically_normal().string());
    }
    const std::string built = builtResourceDir();
    bool seen = false;
    for (const auto& d : dirs) seen = seen || d == fs::path(built).lexically_normal().string();
    if (!seen) dirs.push_back(built);
    return dirs;
}

std::string findResourceDir(const std::string& executablePath,
                            const std::function<bool(const std::string&)>& holdsResources) {
    for (const auto& d : resourceDirCandidates(executablePath))
        if (holdsResources(d)) return d;
    return builtResourceDir();
}

std::string resourceDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return findResourceDir(ec ? std::string() : exe.string(), [](const std::string& dir) {
        std::error_code e;
        return fs::is_regular_file(fs::path(dir) / kResourceMarker, e);
    });
}

}  // namespace vw::platform
