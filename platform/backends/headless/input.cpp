// The message queue and what tests do as a user would: clicks, keys, and the
// steps that modal dialogs run when they have nothing else to do.
#include "platform/backends/headless/world.h"
#include "platform/window/messages.h"

namespace headless {
namespace {

bool EnabledWithParents(const HWND__* window) {
  for (; window; window = window->parent) {
    if (!window->enabled || !window->visible) return false;
  }
  return true;
}

// Input reaches a window only while it and its dialog are enabled and
// visible, and no other modal window is on top.
bool TakesInput(HWND__* window) {
  const auto& stack = TheWorld().modalStack;
  if (!stack.empty() && TopLevel(window) != stack.back()) return false;
  return EnabledWithParents(window);
}

bool IsKey(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

}  // namespace

bool PumpOne() {
  World& world = TheWorld();
  if (world.queue.empty()) return false;
  const Posted posted = world.queue.front();
  world.queue.pop_front();
  if (!IsLive(posted.hwnd) || (posted.inputFrom && !IsLive(posted.inputFrom))) return true;
  if (posted.inputFrom && !TakesInput(posted.inputFrom)) return true;

  world.modifiers = posted.modifiers;
  WindowMessage msg{posted.hwnd, posted.message, posted.wParam, posted.lParam};
  bool consumed = false;
  if (IsKey(posted.message)) {
    for (HWND__* w = posted.hwnd; w && !consumed; w = w->parent) {
      consumed = w->object && w->object->PreTranslateMessage(&msg);
      if (!IsLive(posted.hwnd)) break;
    }
  }
  if (!consumed && IsLive(posted.hwnd)) {
    Deliver(posted.hwnd, posted.message, posted.wParam, posted.lParam);
  }
  world.modifiers = 0;
  return true;
}

void WhenIdle(int templateId, std::function<void(HWND dialog)> step) {
  TheWorld().steps.emplace_back(templateId, std::move(step));
}

void AnswerNextBox(int answer) { TheWorld().answers.push_back(answer); }

HWND FindDialog(int templateId) {
  const auto& dialogs = TheWorld().dialogs;
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
    if ((*it)->id == templateId) return it->get();
  }
  return nullptr;
}

HWND Control(HWND dialog, int id) {
  if (!IsLive(dialog)) return nullptr;
  for (auto& control : dialog->children) {
    if (control->id == id) return control.get();
  }
  return nullptr;
}

bool Click(HWND dialog, int id) {
  HWND button = Control(dialog, id);
  if (!button) {
    Fault("dialog " + std::to_string(dialog ? dialog->id : 0) + " has no control " +
          std::to_string(id) + " to click");
    return false;
  }
  if (!button->enabled || !button->visible) return false;
  const WPARAM command = static_cast<WPARAM>(id & 0xFFFF) | (static_cast<WPARAM>(BN_CLICKED) << 16);
  TheWorld().queue.push_back(
      {dialog, WM_COMMAND, command, reinterpret_cast<LPARAM>(button), button, 0});
  return true;
}

void PressKey(UINT key, unsigned modifiers) {
  World& world = TheWorld();
  if (world.modalStack.empty()) {
    Fault("a key was pressed while no dialog runs");
    return;
  }
  HWND__* dialog = world.modalStack.back();
  HWND__* target = dialog->focus ? dialog->focus : dialog;
  const bool alt = (modifiers & kAlt) != 0;
  // Repeat count 1; bit 29 says Alt is held.
  const LPARAM lParam = 1 | (alt ? LPARAM{1} << 29 : 0);
  world.queue.push_back({target, alt ? UINT{WM_SYSKEYDOWN} : UINT{WM_KEYDOWN}, key, lParam, target,
                         modifiers});
}

void SetFocus(HWND control) {
  if (!IsLive(control) || !control->parent) {
    Fault("only a control of a dialog can take the focus");
    return;
  }
  control->parent->focus = control;
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsLive(window)) {
    Fault("message " + std::to_string(message) + " posted to a window that does not exist");
    return;
  }
  TheWorld().queue.push_back({window, message, wParam, lParam, nullptr, 0});
}

void Minimise(HWND dialog, int clientWidth, int clientHeight) {
  if (!IsLive(dialog) || dialog->parent) {
    Fault("only a dialog can be minimised");
    return;
  }
  dialog->iconic = true;
  dialog->clientWidthIconic = clientWidth;
  dialog->clientHeightIconic = clientHeight;
  Post(dialog, WM_PAINT);
}

}  // namespace headless
