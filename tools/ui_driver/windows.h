// Finding the program's windows and reading them from outside, as a user
// sees them.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <vector>

namespace driver {

// The visible top-level windows of a process, in z-order, topmost first.
std::vector<HWND> VisibleWindowsOf(DWORD processId);
// Those of every process.
std::vector<HWND> AllVisibleWindows();

// The visible top-level window of the process with exactly this caption;
// null when there is none.
HWND FindWindowOf(DWORD processId, const std::string& caption);

// Waits (bounded) for such a window; null when none came.
HWND WaitForWindow(DWORD processId, const std::string& caption);

// Waits (bounded) until the window is gone or hidden.
bool WaitUntilGone(HWND window);

// Waits (bounded) until the window's thread takes messages again. A window
// of this program does so only in a message loop, so by then the handler
// that was running has returned, or shows a box of its own.
bool WaitUntilIdle(HWND window);

std::string TextOf(HWND window);
std::string ClassOf(HWND window);

// The child windows of a dialog, in z-order (which is template order).
std::vector<HWND> ChildrenOf(HWND dialog);

// The entries of a drop-down list and the index of its selection.
std::vector<std::string> ListEntries(HWND comboBox);
int ListSelection(HWND comboBox);

}  // namespace driver
