// A message box of the program, read from outside: its caption, text,
// buttons and default button.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <vector>

namespace driver {

struct MessageBoxView {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  std::vector<int> buttons;  // IDOK, IDYES, IDNO..., left to right
  int defaultButton = 0;
};

MessageBoxView ReadMessageBox(HWND box);

// Presses the button with this number and waits (bounded) for the box to go
// and for the handler that showed it to return.
bool Answer(const MessageBoxView& box, int button);

}  // namespace driver
