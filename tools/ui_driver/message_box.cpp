#include "tools/ui_driver/message_box.h"

#include <algorithm>

#include "tools/ui_driver/input.h"
#include "tools/ui_driver/wait.h"
#include "tools/ui_driver/windows.h"

namespace driver {

namespace {

// The control of a message box that holds its text.
constexpr int kTextControl = 0xFFFF;

}  // namespace

MessageBoxView ReadMessageBox(HWND box) {
  MessageBoxView view;
  view.window = box;
  view.caption = TextOf(box);
  view.text = TextOf(GetDlgItem(box, kTextControl));
  std::vector<std::pair<LONG, int>> buttons;
  for (HWND child : ChildrenOf(box)) {
    if (ClassOf(child) != "Button" || !IsWindowVisible(child)) continue;
    RECT r{};
    GetWindowRect(child, &r);
    buttons.emplace_back(r.left, GetDlgCtrlID(child));
    if ((GetWindowLongA(child, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
      view.defaultButton = GetDlgCtrlID(child);
  }
  std::sort(buttons.begin(), buttons.end());
  for (const auto& b : buttons) view.buttons.push_back(b.second);
  return view;
}

bool Answer(const MessageBoxView& box, int button) {
  HWND control = GetDlgItem(box.window, button);
  if (control == nullptr) return false;
  HWND owner = GetWindow(box.window, GW_OWNER);
  ClickButton(control);
  // Destroyed, not just hidden: the box's own loop has ended.
  if (!WaitFor([&] { return !IsWindow(box.window); })) return false;
  return owner == nullptr || WaitUntilIdle(owner);
}

}  // namespace driver
