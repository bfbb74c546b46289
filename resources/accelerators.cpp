// Accelerator table 130 of the main window.
#include "platform/window/keyboard.h"
#include "platform/window/templates.h"
#include "resources/resource_ids.h"

namespace {

// Alt+F3, F4 and Alt+F5 open the information box. An entry matches only
// with exactly its modifiers, so Alt+F4 still closes the window.
const AcceleratorEntry kMainEntries[] = {
    {FVIRTKEY | FNOINVERT | FALT, VK_F3, kInfoCommand},
    {FVIRTKEY | FNOINVERT, VK_F4, kInfoCommand},
    {FVIRTKEY | FNOINVERT | FALT, VK_F5, kInfoCommand},
};

const AcceleratorTable kMainTable = {kMainAccelerators, kMainEntries,
                                     sizeof kMainEntries / sizeof kMainEntries[0]};

}  // namespace

const AcceleratorTable* FindAcceleratorTable(UINT id) {
  return id == kMainAccelerators ? &kMainTable : nullptr;
}
