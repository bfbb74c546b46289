// Loading the program's strings, icons and accelerator tables by number.
#pragma once
#include <string>

#include "platform/window/types.h"

namespace platform {

// The string's text; empty when there is no such string.
std::string LoadString(UINT id);

// Null when there is no such icon or table.
HICON LoadIcon(UINT id);
HACCEL LoadAccelerators(UINT id);

}  // namespace platform
