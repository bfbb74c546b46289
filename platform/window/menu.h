// A menu: the program appends items to a window's system menu.
#pragma once
#include <cstdint>

#include "platform/window/types.h"

#ifndef MF_STRING
#define MF_STRING 0x0000
#endif
#ifndef MF_SEPARATOR
#define MF_SEPARATOR 0x0800
#endif

class CMenu {
 public:
  HMENU m_hMenu = nullptr;

  // Adds a text item (MF_STRING) with its command, or a separator.
  BOOL AppendMenu(UINT flags, uintptr_t idNewItem = 0, const char* newItem = nullptr);
};
