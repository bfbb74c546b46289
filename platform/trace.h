// Diagnostic trace of the serial layer. Texts go to the platform's debug
// channel at most; nothing here ever reaches the user.
#pragma once

namespace platform {

void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace platform
