#include "platform/clock.h"

#include "platform/backends/sim/world.h"

namespace platform {

uint32_t GetTickCount() { return sim::Tick(); }

void Sleep(uint32_t ms) { sim::Advance(static_cast<sim::Nanos>(ms) * sim::kMs); }

}  // namespace platform
