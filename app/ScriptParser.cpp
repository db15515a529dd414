#include "app/ScriptParser.h"

#include <cctype>
#include <cmath>

#include "app/UserInput.h"
#include "platform/Numbers.h"
#include "platform/Result.h"
#include "platform/Text.h"

namespace vw::app {

namespace {

using script::Event;

bool blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The words of a line and where each starts.
struct Words {
    std::vector<std::string> words;
    std::vector<std::size_t> from;
};

Words wordsOf(const std::string& line) {
    Words w;
    for (std::size_t i = 0; i < line.size();) {
        if (blank(line[i])) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < line.size() && !blank(line[j])) ++j;
        w.words.push_back(line.substr(i, j - i));
        w.from.push_back(i);
        i = j;
    }
    return w;
}

// The words an event is made of, each read the way the command line reads it.

Result<float> levelWord(const std::string& word) {
    if (const auto v = parseLevel(word)) return *v;
    return Error{"level must be 0.0 to 1.0, or -1, not '" + shown(word) + "'"};
}

Result<BatteryState> stateWord(const std::string& word) {
    if (const auto s = parseBatteryState(word)) return *s;
    return Error{"unknown state '" + shown(word) + "' (unknown, unplugged, charging, full)"};
}

// A whole number in [lo, hi], or an error naming the range.
Result<int> wholeWord(const std::string& word, long lo, long hi, const std::string& what) {
    const auto v = parseWholeNumber(word, lo, hi, WholeForm::Number);
    if (!v)
        return Error{what + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                     ", not '" + shown(word) + "'"};
    return static_cast<int>(*v);
}

// An event of one whole number from 0 to `hi`.
template <class E>
Result<Event> numbered(const std::string& word, long hi, const char* what) {
    const auto n = wholeWord(word, 0, hi, what);
    if (!n) return n.error();
    return Event{E{*n}};
}

using Args = std::vector<std::string>;  // the verb, then its arguments

// Every event but `setting`: its verb, how many arguments it takes (and what
// is said when the count is wrong), and how the arguments are read.
struct Verb {
    const char* name;
    std::size_t minArgs, maxArgs;
    const char* wrongCount;
    Result<Event> (*read)(const Args& w);
};

const Verb kVerbs[] = {
    {"level", 1, 1, "level needs one fraction",
     [](const Args& w) -> Result<Event> {
         const auto level = levelWord(w[1]);
         if (!level) return level.error();
         return Event{script::Level{*level}};
     }},
    {"state", 1, 1, "state needs one of unknown, unplugged, charging, full",
     [](const Args& w) -> Result<Event> {
         const auto state = stateWord(w[1]);
         if (!state) return state.error();
         return Event{script::State{*state}};
     }},
    {"battery", 2, 2, "battery needs a fraction and a state",
     [](const Args& w) -> Result<Event> {
         const auto level = levelWord(w[1]);
         if (!level) return level.error();
         const auto state = stateWord(w[2]);
         if (!state) return state.error();
         return Event{script::Battery{*level, *state}};
     }},
    {"touch", 2, 2, "touch needs x and y",
     [](const Args& w) -> Result<Event> {
         const auto x = parseNumber(w[1]), y = parseNumber(w[2]);
         if (!x || !y) return Error{"touch needs two numbers"};
         if (std::fabs(*x) > 1e6 || std::fabs(*y) > 1e6) return Error{"touch points must be from -1000000 to 1000000"};
         return Event{script::Touch{static_cast<float>(*x), static_cast<float>(*y)}};
     }},
    {"pick", 1, 1, "pick needs one whole number",
     [](const Args& w) { return numbered<script::Pick>(w[1], kMaxPickRow, "pick row"); }},
    {"swipe", 1, 1, "swipe needs one whole number",
     [](const Args& w) { return numbered<script::Swipe>(w[1], kMaxSwipePage, "swipe page"); }},
    {"alert", 1, 1, "alert needs one whole number",
     [](const Args& w) { return numbered<script::Alert>(w[1], kMaxAlertButton, "alert button"); }},
    {"tick", 0, 1, "tick takes at most a count",
     [](const Args& w) -> Result<Event> {
         if (w.size() == 1) return Event{script::Tick{}};
         const auto count = wholeWord(w[1], 1, kMaxTicks, "tick count");
         if (!count) return count.error();
         return Event{script::Tick{*count}};
     }},
    {"wait", 1, 1, "wait needs seconds",
     [](const Args& w) -> Result<Event> {
         const auto v = parseNumber(w[1]);
         if (!v || *v < 0 || *v > kMaxWaitSeconds)
             return Error{"wait needs a number of seconds from 0 to " +
                          std::to_string(static_cast<long>(kMaxWaitSeconds)) + ", not '" + shown(w[1]) + "'"};
         return Event{script::Wait{*v}};
     }},
    {"animations-end", 0, 0, "animations-end takes nothing", [](const Args&) -> Result<Event> {
         return Event{script::AnimationsEnd{}};
     }},
    {"print", 0, 0, "print takes nothing", [](const Args&) -> Result<Event> { return Event{script::Print{}}; }},
    {"history", 0, 0, "history takes nothing", [](const Args&) -> Result<Event> { return Event{script::History{}}; }},
};

// The event of a line with words; `launched` turns true at the first event
// that is not a setting.
Result<Event> readEvent(const std::string& line, const Words& w, bool& launched) {
    const std::string& verb = w.words[0];
    if (verb == "setting") {
        if (launched) return Error{"settings go before the first event"};
        if (w.words.size() < 3) return Error{"setting needs a key and a value"};
        // The value is the rest of the line, as written.
        std::string value = line.substr(w.from[2]);
        while (!value.empty() && blank(value.back())) value.pop_back();
        return Event{script::Setting{w.words[1], std::move(value)}};
    }
    launched = true;
    for (const Verb& v : kVerbs) {
        if (verb != v.name) continue;
        const std::size_t args = w.words.size() - 1;
        if (args < v.minArgs || args > v.maxArgs) return Error{v.wrongCount};
        return v.read(w.words);
    }
    return Error{"unknown event '" + shown(verb) + "'"};
}

}  // namespace

std::optional<ScriptParseError> forEachScriptEvent(const std::string& text,
                                                  const std::function<void(const ScriptEvent&)>& fn) {
    bool launched = false;
    std::size_t at = 0;
    for (int lineNo = 1; at < text.size(); ++lineNo) {
        const std::size_t nl = text.find('\n', at);
        std::string line = text.substr(at, nl == std::string::npos ? std::string::npos : nl - at);
        at = nl == std::string::npos ? text.size() : nl + 1;
        if (lineNo == 1) line.erase(0, platform::byteOrderMarkLength(line));  // a byte-order mark is no event
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        const Words words = wordsOf(line);
        if (words.words.empty()) continue;
        auto event = readEvent(line, words, launched);
        if (!event) return ScriptParseError{lineNo, event.error().what};
        fn(ScriptEvent{lineNo, std::move(*event)});
    }
    return std::nullopt;
}

std::variant<std::vector<ScriptEvent>, ScriptParseError> parseScript(const std::string& text) {
    std::vector<ScriptEvent> events;
    if (auto e = forEachScriptEvent(text, [&](const ScriptEvent& ev) { events.push_back(ev); })) return *e;
    return events;
}

}  // namespace vw::app
