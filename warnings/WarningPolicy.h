// When to warn that a battery is running out, and when to stop: the rules,
// with no bus and no clock of their own. Readings go in; what to show,
// replace or withdraw comes out, for a notifier to carry out.
//
// The laptop (its batteries together): a warning when the charge crosses a
// warning level (low, critical, action: the power service's own, or 20 %,
// 5 % and 2 % where it gives none). One laptop warning is on show at a time:
// a further crossing replaces it, with critical urgency; mains power
// withdraws it. Once warned at a level, that level warns again only after
// the charge has risen by 3 points or mains power has come and gone.
// Nothing is shown while charging, and nothing that is already on show.
//
// A peripheral (mouse, keyboard, headset...): at or below 10 %, once a day,
// with low urgency; nothing while it charges.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vw::warnings {

enum class Level : uint8_t { None = 0, Low = 1, Critical = 2, Action = 3 };
enum class Urgency : uint8_t { Low = 0, Normal = 1, Critical = 2 };

// The charge's level by the percentages 20, 5 and 2 (or those given).
struct Thresholds {
    double low = 20, critical = 5, action = 2;
};
Level levelFor(double percent, const Thresholds& t = {});

struct Laptop {
    std::string name;  // the computer's name
    double percent = 0;
    bool onMains = false;                // charging, held or full
    Level level = Level::None;           // the service's warning level, or levelFor()
    std::optional<int> minutesAtThisRate;
};

struct Peripheral {
    std::string id;    // stable across readings (the service's object path)
    std::string kind;  // "Mouse", "Keyboard", ...
    std::string model;
    double percent = 0;
    bool charging = false;
};

// What the notifier is to do. `key` names the notification ("laptop", or a
// peripheral's id), so that a replacement finds what it replaces.
struct Action {
    enum class Kind : uint8_t { Show, Close } kind = Kind::Show;
    std::string key;
    std::string summary, body;
    Urgency urgency = Urgency::Normal;
    bool operator==(const Action&) const = default;
};

class WarningPolicy {
public:
    std::vector<Action> laptop(const Laptop& l);
    std::vector<Action> peripheral(const Peripheral& p, double now);
    // The notification server says `key` is no longer on show (the user
    // closed it, or it expired).
    void closed(const std::string& key);

    static constexpr double kRearmPoints = 3;
    static constexpr double kPeripheralPercent = 10;
    static constexpr double kPeripheralEvery = 24 * 3600;

private:
    Level warned_ = Level::None;  // the highest level warned since the last re-arm
    double lowest_ = 1e9;         // the lowest charge seen since that warning
    bool laptopShown_ = false;
    Level shownLevel_ = Level::None;
    bool mainsSinceWarning_ = false;
    std::map<std::string, double> peripheralWarned_;  // id: when
    std::map<std::string, bool> peripheralShown_;
};

// "1hr 05min", as the readout writes time.
std::string hoursAndMinutes(int minutes);

}  // namespace vw::warnings
