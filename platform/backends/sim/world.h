// What the sim backend's clock, comm and trace files share beyond sim.h.
#pragma once
#include <functional>
#include <string>

#include "platform/backends/sim/sim.h"

namespace sim {

uint32_t Tick();

// Runs events up to until, or until stop() holds (checked before each event).
void RunUntil(Nanos until, const std::function<bool()>& stop);

void AddTrace(std::string text);

}  // namespace sim
