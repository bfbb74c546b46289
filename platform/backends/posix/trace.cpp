// POSIX has no debug channel that a user would not see; traces are dropped.
#include "platform/trace.h"

namespace platform {

void Trace(const char*, ...) {}

}  // namespace platform
