// Reading a file whole, with a bound on its size: the user's files (a
// configuration, a script) and the settings file.
#pragma once

#include <cstddef>
#include <string>

#include "platform/Result.h"

namespace vw {

// Reads `fd` to its end, retrying interrupted reads. Fails as soon as more
// than `limit` bytes arrive ("larger than N MB", errnum EFBIG), or with the
// errno of a failed read. `fd` stays open.
Result<std::string> readToEnd(int fd, std::size_t limit);

// What may stand at the path read.
enum class FileKind {
    // Anything but a folder ("is a folder, not a file", errnum EISDIR):
    // a FIFO or a device is read as it comes (the user named it).
    NotFolder,
    // A regular file only, never opened when it is anything else, so that
    // nothing blocks on it: "not a regular file", errnum 0.
    Regular,
};

// The whole of the file at `path` (read as readToEnd reads); the error
// names no file. A missing file fails with errnum ENOENT.
Result<std::string> readFile(const std::string& path, std::size_t limit, FileKind kind);

}  // namespace vw
