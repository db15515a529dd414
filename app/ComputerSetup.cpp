#include "app/ComputerSetup.h"

#include <filesystem>
#include <ostream>

#include "app/Cli.h"
#include "platform/Text.h"
#include "platform/desktop/ComputerSource.h"
#include "platform/linux/Machine.h"
#include "platform/linux/PowerSupply.h"

namespace vw::app {

bool isThisComputer(const Options& o, bool hostBattery) {
    if (!hostBattery || o.modelGiven || o.machineGiven || o.levelGiven || o.stateGiven) return false;
    return !(o.script && !o.screenshot);
}

std::unique_ptr<history::LearnedComputer> makeComputer(history::HistoryStore::Access access, double now,
                                                       std::ostream* err) {
    auto say = [err](const std::string& line) {
        if (err) *err << "voltwise: " << platform::oneLine(line) << '\n';
    };
    const std::string path = history::HistoryStore::defaultPath();
    std::unique_ptr<history::HistoryStore> opened;
    // Read only, a history not made yet is no news: there is nothing to read.
    std::error_code ec;
    if (access == history::HistoryStore::Access::ReadWrite || std::filesystem::exists(path, ec)) {
        auto store = history::HistoryStore::open(path, say, access);
        if (store) opened = std::move(*store);
        else say(store.error().what + "; learning from this run alone");
    }
    return std::make_unique<history::LearnedComputer>(linux_host::computerName(linux_host::dmiRoot()),
                                                      std::move(opened), now);
}

void takeReadingNow(history::LearnedComputer& computer, const std::optional<desktop::UPowerReading>& upower,
                    double now) {
    const auto batteries = linux_host::readLaptopBatteries(linux_host::powerSupplyRoot());
    computer.setHealth(desktop::healthOf(batteries));
    const history::Reading r = upower ? desktop::readingFromUPower(*upower, now, desktop::chargeLimitOf(batteries))
                                      : desktop::readingFromFolder(batteries, now);
    // Taken in by the estimator only: a one-off readout writes no history.
    computer.estimator().observe(r);
    computer.refresh();
}

}  // namespace vw::app
