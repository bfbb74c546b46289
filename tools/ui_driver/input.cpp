#include "tools/ui_driver/input.h"

#include "tools/ui_driver/wait.h"

namespace driver {

namespace {

INPUT KeyEvent(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

}  // namespace

bool PressKey(HWND window, WORD key, const std::vector<WORD>& modifiers) {
  // A window that is in front already keeps its menu open, if it has one.
  if (GetForegroundWindow() != window) SetForegroundWindow(window);
  if (!WaitFor([&] { return GetForegroundWindow() == window; })) return false;
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(KeyEvent(modifier, false));
  inputs.push_back(KeyEvent(key, false));
  inputs.push_back(KeyEvent(key, true));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
    inputs.push_back(KeyEvent(*it, true));
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

void ClickButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

}  // namespace driver
