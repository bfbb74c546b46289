// Strings, icons and accelerator tables on the headless backend: handles to
// the program's resource data.
#include "platform/window/resources.h"

#include <map>

#include "platform/backends/headless/world.h"

namespace platform {

std::string LoadString(UINT id) {
  const char* text = FindStringResource(id);
  return text ? text : "";
}

HICON LoadIcon(UINT id) {
  static std::map<UINT, HICON__> icons;
  if (!HasIconResource(id)) return nullptr;
  return &icons.try_emplace(id, HICON__{id}).first->second;
}

HACCEL LoadAccelerators(UINT id) {
  static std::map<UINT, HACCEL__> tables;
  const AcceleratorTable* table = FindAcceleratorTable(id);
  if (!table) return nullptr;
  return &tables.try_emplace(id, HACCEL__{table}).first->second;
}

}  // namespace platform
