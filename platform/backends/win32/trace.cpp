// Traces go to the debugger's output channel (OutputDebugStringA), which a
// user never sees.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/trace.h"

namespace platform {

void Trace(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  // One byte is kept back for the line break; a longer text is cut short.
  const int n = std::vsnprintf(text, sizeof text - 1, format, args);
  va_end(args);
  if (n < 0) return;
  std::strcat(text, "\n");
  OutputDebugStringA(text);
}

}  // namespace platform
