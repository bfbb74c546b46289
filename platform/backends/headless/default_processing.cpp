// What a window does with a message that no object handled: the platform's
// own behaviour of dialogs, combo boxes and progress bars.
#include <algorithm>

#include "platform/backends/headless/world.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_box.h"

namespace headless {
namespace {

LRESULT ComboBox(HWND__* combo, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& items = combo->items;
  switch (message) {
    case CB_ADDSTRING:
      if (!lParam) return CB_ERR;
      items.emplace_back(reinterpret_cast<const char*>(lParam));
      return static_cast<LRESULT>(items.size() - 1);
    case CB_GETCURSEL:
      return combo->selection;
    case CB_SETCURSEL:
      if (wParam >= items.size()) {
        combo->selection = -1;
        return CB_ERR;
      }
      combo->selection = static_cast<int>(wParam);
      return combo->selection;
    case WM_KEYDOWN:
      // F4 on its own opens and closes the list.
      if (wParam == VK_F4 && TheWorld().modifiers == 0) combo->droppedDown = !combo->droppedDown;
      return 0;
  }
  return 0;
}

LRESULT ProgressBar(HWND__* bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PBM_SETRANGE: {
      const LRESULT previous = bar->rangeLow | (bar->rangeHigh << 16);
      bar->rangeLow = static_cast<int>(LowWord(static_cast<uintptr_t>(lParam)));
      bar->rangeHigh = static_cast<int>(HighWord(static_cast<uintptr_t>(lParam)));
      bar->position = std::clamp(bar->position, bar->rangeLow, bar->rangeHigh);
      return previous;
    }
    case PBM_SETPOS: {
      const LRESULT previous = bar->position;
      const long long wanted = static_cast<long long>(static_cast<int>(wParam));
      bar->position = static_cast<int>(std::clamp<long long>(wanted, bar->rangeLow, bar->rangeHigh));
      return previous;
    }
  }
  return 0;
}

LRESULT Dialog(HWND__* dialog, UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CLOSE:
      return Deliver(dialog, WM_COMMAND, IDCANCEL, 0);
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          return Deliver(dialog, WM_CLOSE, 0, 0);
        case SC_MINIMIZE:
          dialog->iconic = true;
          return 0;
      }
      return 0;
  }
  return 0;
}

}  // namespace

LRESULT DefaultProcessing(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Alt+F4 anywhere in a dialog closes it.
  if (message == WM_SYSKEYDOWN && wParam == VK_F4) {
    return Deliver(TopLevel(window), WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  if (message == WM_SETICON && !window->parent) {
    HICON& slot = wParam == ICON_BIG ? window->bigIcon : window->smallIcon;
    const HICON previous = slot;
    slot = reinterpret_cast<HICON>(lParam);
    return reinterpret_cast<LRESULT>(previous);
  }
  if (window->windowClass == "ComboBox") return ComboBox(window, message, wParam, lParam);
  if (window->windowClass == "msctls_progress32") {
    return ProgressBar(window, message, wParam, lParam);
  }
  if (!window->parent) return Dialog(window, message, wParam);
  return 0;
}

}  // namespace headless
