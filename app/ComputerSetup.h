// This computer as the readout's device: when the host's battery is it, and
// its learned figures made ready for the text readout, a picture or the
// window.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>

#include "history/HistoryStore.h"
#include "history/ThisComputer.h"
#include "platform/desktop/UPowerBattery.h"

namespace vw::app {

struct Options;

// The host's battery is this computer's when it is read (the power service
// or the battery folder) and no model, machine, level or state is given; a
// plain --script session keeps the phone model it replays.
bool isThisComputer(const Options& o, bool hostBattery);

// This computer, named by its firmware, over its history store opened with
// `access` ($XDG_STATE_HOME/voltwise/history.db). A store that cannot be
// opened is said in one line on `err` (when given) and the figures rest on
// this run's readings alone.
std::unique_ptr<history::LearnedComputer> makeComputer(history::HistoryStore::Access access, double now,
                                                       std::ostream* err);

// The figures as they stand now for a one-off readout (text, picture): the
// service's reading when it answered, else the batteries' folders.
void takeReadingNow(history::LearnedComputer& computer, const std::optional<desktop::UPowerReading>& upower,
                    double now);

}  // namespace vw::app
