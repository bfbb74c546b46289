// The shape of the program's resource data: dialog templates, accelerator
// tables and strings. The program defines the data and the lookups below;
// every window backend builds its windows from them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/window/types.h"

// One control of a dialog template. Positions and sizes are in dialog units.
struct ControlTemplate {
  int32_t id;               // -1 for a control that no code addresses
  const char* windowClass;  // "Button", "ComboBox", "Static", "msctls_progress32"
  const char* text;         // the control's text; empty when it shows a resource
  uint16_t imageId;         // resource number shown instead of text (SS_ICON); 0 otherwise
  int16_t x, y, cx, cy;
  uint32_t style;
};

struct DialogTemplate {
  UINT id;
  const char* caption;
  uint32_t style;
  uint32_t exStyle;
  int16_t x, y, cx, cy;
  uint16_t pointSize;
  const char* font;
  const ControlTemplate* controls;  // in template order: tab and stacking order
  size_t controlCount;
};

// One accelerator: key with its modifier flags (FVIRTKEY, FSHIFT, FCONTROL,
// FALT, FNOINVERT) and the command it gives.
struct AcceleratorEntry {
  uint8_t flags;
  uint16_t key;
  uint16_t command;
};

struct AcceleratorTable {
  UINT id;
  const AcceleratorEntry* entries;
  size_t count;
};

// The program's resources by number; null when there is no such resource.
const DialogTemplate* FindDialogTemplate(UINT id);
const AcceleratorTable* FindAcceleratorTable(UINT id);
const char* FindStringResource(UINT id);
// Whether an icon with this number exists.
bool HasIconResource(UINT id);
