// Accelerator tables, made from the program's table data the first time each
// is asked for; the system matches keys against them.
#include <map>

#include "platform/backends/win32/window_internal.h"
#include "platform/window/accelerators.h"
#include "platform/window/resources.h"

namespace platform {

HACCEL LoadAccelerators(UINT id) {
  // Like a table loaded from the executable's resources, each lives until the
  // program ends.
  static std::map<UINT, HACCEL> loaded;
  if (const auto found = loaded.find(id); found != loaded.end()) return found->second;
  const AcceleratorTable* table = FindAcceleratorTable(id);
  if (table == nullptr) return nullptr;
  std::vector<ACCEL> entries;
  for (size_t i = 0; i < table->count; ++i) {
    const AcceleratorEntry& e = table->entries[i];
    entries.push_back({e.flags, e.key, e.command});
  }
  HACCEL handle = CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
  if (handle != nullptr) loaded[id] = handle;
  return handle;
}

// The system checks the Shift, Ctrl and Alt keys against each entry's flags:
// an entry without them matches only while none is held.
bool TranslateAccelerator(HWND target, HACCEL table, const WindowMessage* msg) {
  MSG keys = win32::ToMsg(*msg);
  return TranslateAcceleratorA(target, table, &keys) != 0;
}

}  // namespace platform
