// The last line of defence at the boundaries where the system calls the
// program: an exception is reported to the user instead of unwinding through
// the system.
#include <cstdio>

#include "platform/backends/win32/window_internal.h"
#include "platform/window/win_app.h"

namespace win32 {

void ReportUnexpectedError(const char* what) noexcept {
  char text[512];
  std::snprintf(text, sizeof text, "An unexpected error stopped the operation.\n\n%s",
                what != nullptr ? what : "(no details)");
  MessageBoxA(GetActiveWindow(), text, AfxGetAppName(), MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace win32
