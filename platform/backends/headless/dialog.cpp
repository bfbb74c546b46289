// CDialog on the headless backend: modal runs, modeless creation and the
// keyboard handling of a dialog.
#include "platform/window/dialog.h"

#include <algorithm>

#include "platform/backends/headless/world.h"
#include "platform/window/keyboard.h"
#include "platform/window/message_box.h"
#include "platform/window/styles.h"
#include "platform/window/win_app.h"

using headless::Fault;
using headless::TheWorld;

namespace {

HWND__* ActiveDialog() {
  const auto& stack = TheWorld().modalStack;
  return stack.empty() ? nullptr : stack.back();
}

const DialogTemplate* TemplateOrFault(UINT id) {
  const DialogTemplate* found = FindDialogTemplate(id);
  if (!found) Fault("there is no dialog template " + std::to_string(id));
  return found;
}

// Runs the next step the test queued for this dialog; false when there is
// none for it, which ends the dialog rather than wait for ever.
bool RunIdleStep(HWND__* dialog) {
  auto& steps = TheWorld().steps;
  if (steps.empty() || steps.front().first != dialog->id) {
    Fault("dialog " + std::to_string(dialog->id) + " waits for input, and " +
          (steps.empty() ? std::string("no step is queued")
                         : "the next step is for dialog " + std::to_string(steps.front().first)));
    return false;
  }
  auto step = std::move(steps.front().second);
  steps.pop_front();
  step(dialog);
  return true;
}

bool IsPushButton(const HWND__* window) {
  return window && window->windowClass == "Button" &&
         ((window->style & 0xF) == BS_PUSHBUTTON || (window->style & 0xF) == BS_DEFPUSHBUTTON);
}

// Enter presses the focused push button, or else the default one.
HWND__* ButtonForEnter(HWND__* dialog) {
  if (IsPushButton(dialog->focus)) return dialog->focus;
  for (auto& control : dialog->children) {
    if (IsPushButton(control.get()) && (control->style & 0xF) == BS_DEFPUSHBUTTON) {
      return control.get();
    }
  }
  return nullptr;
}

void PressButton(HWND__* dialog, HWND__* button) {
  if (!button || !button->enabled || !button->visible) return;
  headless::Deliver(dialog, WM_COMMAND, static_cast<WPARAM>(button->id & 0xFFFF),
                    reinterpret_cast<LPARAM>(button));
}

}  // namespace

intptr_t CDialog::DoModal() {
  const DialogTemplate* dialogTemplate = TemplateOrFault(m_nIDTemplate);
  if (!dialogTemplate) return -1;
  HWND__* owner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : ActiveDialog();
  const bool ownerWasEnabled = headless::IsLive(owner) && owner->enabled;
  if (ownerWasEnabled) owner->enabled = false;

  HWND__* dialog = headless::CreateDialogWindow(*dialogTemplate, owner, this);
  dialog->modal = true;
  TheWorld().modalStack.push_back(dialog);
  headless::InitialiseDialog(dialog);
  if (headless::IsLive(dialog) && !dialog->ended) ShowWindow(SW_SHOW);

  while (headless::IsLive(dialog) && !dialog->ended) {
    if (headless::PumpOne()) continue;
    if (!RunIdleStep(dialog)) EndDialog(-1);
  }

  auto& stack = TheWorld().modalStack;
  stack.erase(std::remove(stack.begin(), stack.end(), dialog), stack.end());
  if (ownerWasEnabled && headless::IsLive(owner)) owner->enabled = true;
  if (!headless::IsLive(dialog)) return -1;
  const int result = dialog->result;
  DestroyWindow();
  return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  if (m_hWnd) {
    Fault("dialog " + std::to_string(templateId) + " created twice");
    return FALSE;
  }
  const DialogTemplate* dialogTemplate = TemplateOrFault(templateId);
  if (!dialogTemplate) return FALSE;
  m_nIDTemplate = templateId;
  m_pParentWnd = parent;
  HWND__* owner = parent ? parent->GetSafeHwnd() : ActiveDialog();
  HWND__* dialog = headless::CreateDialogWindow(*dialogTemplate, owner, this);
  headless::InitialiseDialog(dialog);
  if (headless::IsLive(dialog) && (dialogTemplate->style & WS_VISIBLE)) ShowWindow(SW_SHOW);
  return headless::IsLive(dialog);
}

void CDialog::EndDialog(int result) {
  if (!headless::IsLive(m_hWnd)) return;
  m_hWnd->ended = true;
  m_hWnd->result = result;
  if (!m_hWnd->modal) ShowWindow(SW_HIDE);
}

BOOL CDialog::PreTranslateMessage(WindowMessage* msg) {
  HWND__* dialog = m_hWnd;
  if (!headless::IsLive(dialog) || !headless::IsLive(msg->hwnd) ||
      headless::TopLevel(msg->hwnd) != dialog) {
    return FALSE;
  }
  if (msg->message == WM_KEYDOWN && TheWorld().modifiers == 0) {
    switch (msg->wParam) {
      case VK_ESCAPE:
        headless::Deliver(dialog, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
      case VK_RETURN:
        PressButton(dialog, ButtonForEnter(dialog));
        return TRUE;
      case VK_SPACE:
        if (IsPushButton(dialog->focus)) PressButton(dialog, dialog->focus);
        return TRUE;
      case VK_TAB:
        headless::MoveFocus(dialog, false);
        return TRUE;
      case VK_F1:
        headless::Deliver(dialog, WM_COMMAND, ID_HELP, 0);
        return TRUE;
    }
  }
  if (msg->message == WM_KEYDOWN && TheWorld().modifiers == headless::kShift &&
      msg->wParam == VK_TAB) {
    headless::MoveFocus(dialog, true);
    return TRUE;
  }
  // Every other key goes to the window it was meant for.
  headless::Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  return TRUE;
}
