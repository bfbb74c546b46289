// Menus: the system menu that the program extends.
#include <map>

#include "platform/backends/win32/window_internal.h"

BOOL CMenu::AppendMenu(UINT flags, uintptr_t idNewItem, const char* newItem) {
  return AppendMenuA(m_hMenu, flags, idNewItem, newItem);
}

namespace win32 {

CMenu* MenuObject(HMENU menu) {
  // A menu lives as long as its window; the few objects stay until exit.
  static std::map<HMENU, CMenu> menus;
  CMenu& object = menus[menu];
  object.m_hMenu = menu;
  return &object;
}

}  // namespace win32
