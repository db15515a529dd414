// The application's configuration: where its requests go and which store
// pages it opens (AppConfig), read from a file and from command-line options.
//
// File: UTF-8 text, one "key = value" per line; blank lines and lines whose
// first non-blank character is '#' are ignored; spaces around the key and the
// value are dropped; a later line for the same key wins; an unknown key or a
// bad value is an error naming the file and the line. Keys:
//
//   attribution_host  host[:port] of the install-attribution request
//   store_host        host of the store pages (itms-apps addresses)
//   store_id          the application's store identifier, 1 to 2147483647
//   paid_page         path of the paid edition's store page
//   catalogue_page    path of the maker's catalogue page in the store
//   probe_url         http(s) address of the rating prompt's connectivity probe
//   network           on or off; off: no request of any kind is sent
//   open_urls         desktop or print: how the window opens store pages
//   notify            on or off; off: the window shows no low-battery notifications
//
// Precedence: the defaults of AppConfig, then the file, then the command
// line. The file is the one named by --config, else $VOLTWISE_CONFIG, else
// $XDG_CONFIG_HOME/voltwise/config, else $HOME/.config/voltwise/config; a
// named file must exist, the default one may be missing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "controller/AppConfig.h"
#include "platform/Log.h"
#include "platform/Network.h"
#include "platform/Result.h"

namespace vw::app {

// The file a configuration comes from when --config names none, and whether
// the user named it (through $VOLTWISE_CONFIG).
struct ConfigPath {
    std::string path;
    bool named = false;
};
ConfigPath defaultConfigPath();

// Sets one key of the file format from its text; fails (saying so without
// a file or line) for an unknown key or a bad value, and sets nothing.
Result<void> setConfigValue(AppConfig& config, const std::string& key, const std::string& value);

// Reads configuration text; errors read "<origin>:<line>: <what>".
Result<void> readConfigText(AppConfig& config, const std::string& text, const std::string& origin);

// Reads the file at `path`. A missing file is an error only when `mustExist`;
// a folder, or a file larger than kMaxConfigBytes, always is.
inline constexpr std::size_t kMaxConfigBytes = 1 << 20;
Result<void> readConfigFile(AppConfig& config, const std::string& path, bool mustExist);

// The file's keys, in the order formatConfig writes them.
std::vector<std::string> configKeys();

// The configuration's command-line options, as given (the command line's
// option table fills them in, checking each value as it comes).
struct ConfigOptions {
    std::optional<std::string> file;                           // --config FILE
    std::vector<std::pair<std::string, std::string>> values;   // file keys and values, in order
    bool print = false;                                        // --print-config
};

// The configuration in effect: the defaults, the file, then the options.
// Fails when the file cannot be read or holds a bad line.
Result<AppConfig> resolveConfig(const ConfigOptions& options);

// A configuration in the file's own format (every key, in the order above).
std::string formatConfig(const AppConfig& config);

// The desktop's network: libcurl on a worker thread, or, with the network
// turned off (or libcurl unusable, which `log` is told), one that sends
// nothing and reports no connection.
std::unique_ptr<platform::Network> makeNetwork(const AppConfig& config, platform::Log& log);

}  // namespace vw::app
