// The millisecond clock every time limit and pause runs on.
#pragma once
#include <cstdint>

namespace platform {

// Milliseconds from an arbitrary start; wraps at 32 bits, so elapsed time is
// always computed as an unsigned difference.
uint32_t GetTickCount();

// Blocks the calling thread for about ms milliseconds.
void Sleep(uint32_t ms);

}  // namespace platform
