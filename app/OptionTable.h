// The command line's one table of options, and what else a user reads about
// the program: the keys of the window (app/WindowKeys.h), the files and the
// environment. The parser, --help and the manual page are all made from
// these tables, so they cannot disagree.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/Result.h"
#include "app/WindowKeys.h"

namespace vw::app {

struct Options;

// Sections of --help and of the manual page's OPTIONS, in this order.
enum class OptionGroup { Battery, Window, Configuration, General };

struct OptionRow {
    const char* name;       // "--level"
    const char* alias;      // "-h", or nullptr
    const char* valueName;  // "FRACTION"; nullptr for an option that takes no value
    const char* help;       // one paragraph of plain text
    OptionGroup group;
    // The configuration file's key the option sets, and the value the file
    // takes for it when that differs from valueName (nullptr: the same).
    const char* configKey = nullptr;
    const char* configValue = nullptr;
    // Takes the option (this row) into `o`: `value` is null for an option
    // without one. Fails for a bad value, saying so in one line without the
    // program name.
    Result<void> (*apply)(Options& o, const OptionRow& row, const std::string* value) = nullptr;
};

std::span<const OptionRow> optionTable();
// The option named `name` (or by its alias), or null.
const OptionRow* findOption(std::string_view name);
const char* groupTitle(OptionGroup g);

// A file or environment variable the program reads or writes.
struct NamedThing {
    const char* name;
    const char* meaning;
};
std::span<const NamedThing> fileTable();
std::span<const NamedThing> environmentTable();

// The program's version, from the build.
const char* programVersion();

// --help: the options wrapped to `width` columns, then the keys.
std::string helpText(int width = 79);
// The manual page in roff (man(7) macros). `date` is the release date, YYYY-MM-DD.
std::string manPage(const std::string& date);

}  // namespace vw::app
