// What comes from the user: texts (option values, file names, lines of a
// file) shown inside one-line messages, and the level and state typed on
// the command line or in a script. The readers of numbers, names and words
// are the platform's (platform/Numbers.h, platform/Words.h); the files the
// user names are read with platform/ReadFile.h.
#pragma once

#include <optional>
#include <string>

#include "platform/BatteryState.h"
#include "platform/Numbers.h"
#include "platform/Text.h"
#include "platform/Words.h"

namespace vw::app {

using platform::kShownLength;
using platform::oneLine;
using platform::shown;

// Each read the same way wherever it is typed (an option, a script line).
// Callers word their own errors.

// A battery level: a fraction from 0.0 to 1.0, or -1 for unknown, as the
// float nearest to the text. The range is checked on the text's value, so
// "1.00000001" is refused although its nearest float is 1.0.
std::optional<float> parseLevel(const std::string& text);

// A battery state by its name: unknown, unplugged, charging or full.
std::optional<BatteryState> parseBatteryState(const std::string& text);

}  // namespace vw::app
