// Input as a user gives it: keys through the system's input queue, to the
// window that has the keyboard focus, and button clicks.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

namespace driver {

// Brings the window to the front, then presses the key while holding the
// modifiers (VK_SHIFT, VK_CONTROL, VK_MENU), and lets go of all of them.
// False when the window could not be brought to the front.
bool PressKey(HWND window, WORD key, const std::vector<WORD>& modifiers = {});

// Clicks a button the way the dialog manager does for a mouse click. The
// click is posted, so a handler that opens a modal box does not hold us up.
void ClickButton(HWND button);

}  // namespace driver
