// The settings file's format: a first line "# voltwise settings 1", then one
// entry a line, "<key>\t<type>\t<value>", type one of string, double,
// integer, bool; tabs, newlines, carriage returns and backslashes in keys
// and strings are escaped as \t, \n, \r and \\. Every entry ends with a
// newline, so a file cut short is told from a whole one.
#pragma once

#include <optional>
#include <string>

#include "platform/Settings.h"

namespace vw::platform {

std::string encodeSettings(const SettingValues& values);
// The values of a whole file's text; nothing for any other text.
std::optional<SettingValues> decodeSettings(const std::string& text);

}  // namespace vw::platform
