#include "platform/SettingsFormat.h"

#include <sstream>

#include "platform/Numbers.h"
#include "platform/Text.h"
#include "platform/Words.h"

namespace vw::platform {
namespace {

constexpr const char* kHeader = "# voltwise settings 1";

std::string escape(const std::string& s) { return backslashed(s, "\\\t\n\r"); }

std::optional<std::string> unescape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size()) return std::nullopt;
        switch (s[i]) {
            case '\\': out += '\\'; break;
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            default: return std::nullopt;
        }
    }
    return out;
}

// An entry's value as its type writes it.
std::optional<SettingValue> decodeValue(const std::string& type, const std::string& raw) {
    std::optional<SettingValue> v;
    if (type == "string") {
        if (auto s = unescape(raw)) v = *s;
    } else if (type == "double") {
        if (auto d = parseNumber(raw, NonFinite::Allowed)) v = *d;
    } else if (type == "integer") {
        if (auto i = parseWholeNumber(raw, INT64_MIN, INT64_MAX, WholeForm::Integer)) v = static_cast<int64_t>(*i);
    } else if (type == "bool") {
        if (auto b = parseYesNo(raw, YesNoWords::YesNo)) v = *b;
    }
    return v;
}

}  // namespace

std::string encodeSettings(const SettingValues& values) {
    std::string out = std::string(kHeader) + "\n";
    for (const auto& [key, v] : values) {
        out += escape(key);
        if (auto s = std::get_if<std::string>(&v)) out += "\tstring\t" + escape(*s);
        else if (auto d = std::get_if<double>(&v)) out += "\tdouble\t" + settingNumberText(*d);
        else if (auto i = std::get_if<int64_t>(&v)) out += "\tinteger\t" + std::to_string(*i);
        else out += std::string("\tbool\t") + (std::get<bool>(v) ? "YES" : "NO");
        out += '\n';
    }
    return out;
}

std::optional<SettingValues> decodeSettings(const std::string& text) {
    SettingValues values;
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return std::nullopt;
    if (text.back() != '\n') return std::nullopt;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const auto t1 = line.find('\t');
        const auto t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
        if (t2 == std::string::npos) return std::nullopt;
        const auto key = unescape(line.substr(0, t1));
        const auto value = decodeValue(line.substr(t1 + 1, t2 - t1 - 1), line.substr(t2 + 1));
        if (!key || !value) return std::nullopt;
        values[*key] = *value;
    }
    return values;
}

}  // namespace vw::platform
