// The string table: the text of the system-menu item.
#include "platform/window/templates.h"
#include "resources/resource_ids.h"

const char* FindStringResource(UINT id) {
  return id == kAboutItemString ? "&About the Tarnwick..." : nullptr;
}
