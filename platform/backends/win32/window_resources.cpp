// The program's strings and icons by number. Strings come from the string
// table data; icons are Windows resources compiled into the executable.
#include "platform/backends/win32/window_internal.h"
#include "platform/window/resources.h"

namespace platform {

std::string LoadString(UINT id) {
  const char* text = FindStringResource(id);
  return text == nullptr ? std::string() : std::string(text);
}

HICON LoadIcon(UINT id) { return LoadIconA(win32::ModuleInstance(), MAKEINTRESOURCEA(id)); }

}  // namespace platform
