// The millisecond counter is the multimedia timer (timeGetTime), with its
// resolution raised to 1 ms for the life of the program. GetTickCount would
// be the same wrapping 32-bit count, but it moves in steps of 16 ms or more,
// on Windows and under Wine alike, whatever the timer resolution: a write
// paced against it could return a whole step before its bytes had left the
// wire, and a 2 ms poll could not tell that any time had passed. The raised
// resolution also keeps the short pauses (2 ms, 4 ms) from lasting a whole
// system tick.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>

#include "platform/clock.h"

namespace {

class FineTimerResolution {
 public:
  FineTimerResolution() : raised_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
  ~FineTimerResolution() {
    if (raised_) timeEndPeriod(1);
  }
  FineTimerResolution(const FineTimerResolution&) = delete;
  FineTimerResolution& operator=(const FineTimerResolution&) = delete;

 private:
  bool raised_;
};

const FineTimerResolution fineTimerResolution;

}  // namespace

namespace platform {

uint32_t GetTickCount() { return timeGetTime(); }

void Sleep(uint32_t ms) { ::Sleep(ms); }

}  // namespace platform
