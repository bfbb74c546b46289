// Dialogs and their controls built from templates, their focus, and their
// end.
#include <algorithm>

#include "platform/backends/headless/geometry.h"
#include "platform/backends/headless/world.h"
#include "platform/window/styles.h"

namespace headless {
namespace {

// The system menu of a dialog frame without minimise and maximise boxes.
std::vector<MenuItem> DefaultSystemMenu() {
  return {{MF_STRING, SC_MOVE, "&Move"}, {MF_SEPARATOR, 0, ""}, {MF_STRING, SC_CLOSE, "&Close"}};
}

std::unique_ptr<HWND__> MakeControl(const ControlTemplate& control, HWND__* dialog) {
  auto window = std::make_unique<HWND__>();
  window->id = control.id;
  window->windowClass = control.windowClass;
  window->text = control.text;
  window->imageId = control.imageId;
  window->style = control.style;
  window->enabled = (control.style & WS_DISABLED) == 0;
  window->visible = (control.style & WS_VISIBLE) != 0;
  window->rect = CRect{DialogUnitsToPixelsX(control.x), DialogUnitsToPixelsY(control.y),
                       DialogUnitsToPixelsX(control.x + control.cx),
                       DialogUnitsToPixelsY(control.y + control.cy)};
  window->parent = dialog;
  return window;
}

bool TakesFocus(const HWND__* control) {
  return (control->style & WS_TABSTOP) && control->enabled && control->visible;
}

}  // namespace

HWND__* CreateDialogWindow(const DialogTemplate& dialog, HWND__* owner, CWnd* object) {
  World& world = TheWorld();
  auto window = std::make_unique<HWND__>();
  window->id = static_cast<int>(dialog.id);
  window->windowClass = "#32770";
  window->text = dialog.caption;
  window->style = dialog.style;
  window->exStyle = dialog.exStyle;
  window->enabled = (dialog.style & WS_DISABLED) == 0;
  window->owner = owner;
  if (dialog.style & WS_SYSMENU) {
    window->systemMenuItems = std::make_unique<HMENU__>(HMENU__{DefaultSystemMenu()});
    window->systemMenu.m_hMenu = window->systemMenuItems.get();
  }

  const CRect insets = FrameInsets(dialog.style);
  const int width = DialogUnitsToPixelsX(dialog.cx) + insets.left + insets.right;
  const int height = DialogUnitsToPixelsY(dialog.cy) + insets.top + insets.bottom;
  int x = DialogUnitsToPixelsX(dialog.x);
  int y = DialogUnitsToPixelsY(dialog.y);
  if ((dialog.x == 0 && dialog.y == 0) || (dialog.style & DS_CENTER)) {
    const CRect over = IsLive(owner) ? owner->rect : CRect{0, 0, kScreenWidth, kScreenHeight};
    x = (over.left + over.right) / 2 - width / 2;
    y = (over.top + over.bottom) / 2 - height / 2;
  }
  window->rect = CRect{x, y, x + width, y + height};

  for (size_t i = 0; i < dialog.controlCount; ++i) {
    window->children.push_back(MakeControl(dialog.controls[i], window.get()));
    world.live.insert(window->children.back().get());
  }
  window->object = object;
  object->m_hWnd = window.get();
  world.live.insert(window.get());
  world.dialogs.push_back(std::move(window));
  return world.dialogs.back().get();
}

void InitialiseDialog(HWND__* dialog) {
  if (Deliver(dialog, WM_INITDIALOG, 0, 0) && IsLive(dialog) && !dialog->focus) {
    const auto first = std::find_if(dialog->children.begin(), dialog->children.end(),
                                    [](const auto& c) { return TakesFocus(c.get()); });
    if (first != dialog->children.end()) dialog->focus = first->get();
  }
}

void MoveFocus(HWND__* dialog, bool backwards) {
  auto& controls = dialog->children;
  const size_t count = controls.size();
  size_t at = count;  // where the focus is now; count: nowhere
  for (size_t i = 0; i < count; ++i) {
    if (controls[i].get() == dialog->focus) at = i;
  }
  for (size_t step = 1; step <= count; ++step) {
    const size_t start = at == count ? (backwards ? 0 : count - 1) : at;
    const size_t i = backwards ? (start + count - step) % count : (start + step) % count;
    if (TakesFocus(controls[i].get())) {
      dialog->focus = controls[i].get();
      return;
    }
  }
}

void DestroyWindowNode(HWND__* window) {
  World& world = TheWorld();
  if (HWND__* dialog = window->parent) {
    if (dialog->focus == window) dialog->focus = nullptr;
    auto& siblings = dialog->children;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                [window](const auto& c) { return c.get() == window; }));
    return;
  }
  for (auto& other : world.dialogs) {
    if (other->owner == window) other->owner = nullptr;
  }
  auto& stack = world.modalStack;
  stack.erase(std::remove(stack.begin(), stack.end(), window), stack.end());
  world.dialogs.erase(std::find_if(world.dialogs.begin(), world.dialogs.end(),
                                   [window](const auto& d) { return d.get() == window; }));
}

}  // namespace headless
