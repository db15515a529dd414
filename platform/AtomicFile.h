// Replacing a file all at once. The new content is written to a temporary
// file beside the path ("<path>.tmp-<pid>-<n>"), flushed to the disk, and
// renamed over the path; then the rename itself is made durable. A reader
// sees the old content or the new, never a mix, and a writer killed at any
// moment leaves no half file. Whatever stands at the path, a symbolic link
// included, is replaced and never written through: a caller that means to
// update a link's target follows the link first.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

#include "platform/Result.h"

namespace vw::platform {

// The new file's permission bits.
struct FileMode {
    mode_t bits = 0600;  // for a file made afresh (less the umask)
    // A regular file replaced passes on its own bits (and, when root writes,
    // its owner) instead.
    bool fromReplaced = true;
};

// Writes the new content into the open temporary file.
using ContentWriter = std::function<Result<void>(int fd)>;

// Replaces the file at `path` with what `write` writes. On failure the path
// is as it was and no temporary file is left; the error is the writer's, or
// the system's (strerror, with its errno).
Result<void> replaceFile(const std::string& path, const ContentWriter& write, FileMode mode = {});
Result<void> replaceFile(const std::string& path, const std::string& content, FileMode mode = {});

// Temporary files beside `path` whose writer was killed mid-write (its
// process is gone), removed.
void removeAbandonedTemporaries(const std::string& path);

// Moves `from` to `to` unless something is already there (errnum EEXIST).
Result<void> moveNoReplace(const std::string& from, const std::string& to);

// The folder `path` is in ("." for a bare name).
std::string folderOf(const std::string& path);

}  // namespace vw::platform
