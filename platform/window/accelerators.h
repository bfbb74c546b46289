// Turning key presses into commands through an accelerator table.
#pragma once
#include "platform/window/keyboard.h"
#include "platform/window/types.h"

namespace platform {

// When msg is a key press that matches an entry of the table, with exactly
// the entry's modifiers held (Shift, Ctrl, Alt), sends WM_COMMAND with the
// entry's command (notification code 1) to target and returns true.
bool TranslateAccelerator(HWND target, HACCEL table, const WindowMessage* msg);

}  // namespace platform
