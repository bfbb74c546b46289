#include "platform/trace.h"

#include <cstdarg>
#include <cstdio>

#include "platform/backends/sim/world.h"

namespace platform {

void Trace(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  sim::AddTrace(text);
}

}  // namespace platform
