// Menus on the headless backend: a list of items.
#include "platform/window/menu.h"

#include "platform/backends/headless/world.h"

BOOL CMenu::AppendMenu(UINT flags, uintptr_t idNewItem, const char* newItem) {
  if (!m_hMenu) {
    headless::Fault("AppendMenu on a menu that does not exist");
    return FALSE;
  }
  if (flags & MF_SEPARATOR) {
    m_hMenu->items.push_back({flags, 0, ""});
    return TRUE;
  }
  if (!newItem) return FALSE;
  m_hMenu->items.push_back({flags, idNewItem, newItem});
  return TRUE;
}
