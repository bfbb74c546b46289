// Accelerator matching on the headless backend. The modifiers are those held
// with the key being handled.
#include "platform/window/accelerators.h"

#include "platform/backends/headless/world.h"

namespace platform {
namespace {

bool Held(unsigned modifiers, unsigned key) { return (modifiers & key) != 0; }
bool Wanted(uint8_t flags, uint8_t flag) { return (flags & flag) != 0; }

}  // namespace

bool TranslateAccelerator(HWND target, HACCEL table, const WindowMessage* msg) {
  if (!table || !msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) {
    return false;
  }
  const unsigned held = headless::TheWorld().modifiers;
  for (size_t i = 0; i < table->table->count; ++i) {
    const AcceleratorEntry& entry = table->table->entries[i];
    if (!Wanted(entry.flags, FVIRTKEY) || entry.key != msg->wParam) continue;
    if (Wanted(entry.flags, FSHIFT) != Held(held, headless::kShift) ||
        Wanted(entry.flags, FCONTROL) != Held(held, headless::kCtrl) ||
        Wanted(entry.flags, FALT) != Held(held, headless::kAlt)) {
      continue;
    }
    headless::Deliver(target, WM_COMMAND, entry.command | (WPARAM{1} << 16), 0);
    return true;
  }
  return false;
}

}  // namespace platform
