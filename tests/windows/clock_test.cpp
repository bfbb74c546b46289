#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace {

double WallMs() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Every time limit and pause runs on this counter, so it must follow the
// wall clock to the millisecond, and sleeps must last as long as asked.
TEST(Clock, SleepLastsAndTheTickFollowsTheWallClock) {
  const uint32_t sleeps[] = {1, 2, 4, 20, 100};
  for (const uint32_t ms : sleeps) {
    SCOPED_TRACE(testing::Message() << "Sleep(" << ms << ")");
    const double wallStart = WallMs();
    const uint32_t tickStart = platform::GetTickCount();
    platform::Sleep(ms);
    const uint32_t ticks = platform::GetTickCount() - tickStart;
    const double wall = WallMs() - wallStart;
    EXPECT_GE(wall, ms - 0.5);
    // Each reading of a 1 ms counter is up to 1 ms behind.
    EXPECT_GE(ticks + 1, ms);
    EXPECT_LE(ticks, wall + 1);
  }
}

}  // namespace
