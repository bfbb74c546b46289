#include "tools/ui_driver/wait.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace driver {

namespace {

// Between two looks at the condition.
constexpr DWORD kPollMs = 20;

}  // namespace

bool WaitFor(const std::function<bool()>& condition, unsigned limitMs) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() - start >= limitMs) return false;
    Sleep(kPollMs);
  }
}

}  // namespace driver
