// The radio communications server: registers its class object under the
// server's class identifier when the library is loaded.
#pragma once

#include "radiolink/sim/optionboard.h"

#include <memory>
#include <string_view>

namespace radioserver {

// True while the class object is registered. Programs that only need the
// server to be present call it so that the library is surely loaded.
bool IsRegistered();

// The simulated board behind a port whose variable says "sim".
std::shared_ptr<sim::OptionBoard> SimulatedBoard(std::string_view portName);
// Whether a simulated port is open now (every call must close it again).
bool SimulatedPortOpen(std::string_view portName);

} // namespace radioserver
