// Reading an open file to its end with a bound on its size, shared by the
// readers of the user's files.
#pragma once

#include <cstddef>
#include <string>

namespace vw {

enum class ReadToEndResult { Read, TooLarge, Failed };

// Reads `fd` to its end into `text` (replacing what it held), retrying
// interrupted reads. TooLarge as soon as more than `limit` bytes arrive;
// Failed with `error` set to the errno of a failed read. `fd` stays open.
ReadToEndResult readToEnd(int fd, std::size_t limit, std::string& text, int& error);

}  // namespace vw
