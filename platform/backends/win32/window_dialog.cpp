// CDialog on Win32. A dialog is created from its template in memory, bound to
// its object when it initialises, and run modally in a message loop of our
// own, so that the dialog's PreTranslateMessage sees every message bound for
// it before it is dispatched (the system's own modal loop offers none).
#include <algorithm>
#include <vector>

#include "platform/backends/win32/window_internal.h"
#include "platform/window/dialog.h"
#include "platform/window/win_app.h"

namespace {

// One DoModal in progress. Modal dialogs nest (the About box over the main
// window), so EndDialog looks its dialog up here.
struct ModalRun {
  const CDialog* dialog;
  bool ended;
  int result;
};
std::vector<ModalRun*> modalRuns;

ModalRun* FindRun(const CDialog* dialog) {
  const auto found = std::find_if(modalRuns.begin(), modalRuns.end(),
                                  [dialog](const ModalRun* run) { return run->dialog == dialog; });
  return found == modalRuns.end() ? nullptr : *found;
}

// A dialog whose template places it at 0,0 is centred over its owner, or
// over the screen's work area when it has no visible owner, and kept on
// that area.
void CentreWhenAsked(HWND window, const DialogTemplate& dialog) {
  if (dialog.x != 0 || dialog.y != 0) return;
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  RECT over = area;
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &over);
  RECT own{};
  GetWindowRect(window, &own);
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  LONG x = over.left + (over.right - over.left - width) / 2;
  LONG y = over.top + (over.bottom - over.top - height) / 2;
  x = std::max(area.left, std::min(x, area.right - width));
  y = std::max(area.top, std::min(y, area.bottom - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The system calls this for every message of the dialog; it does work only
// at WM_INITDIALOG, where the object (the creation parameter) takes over the
// window. From then on the object gets the messages through its binding, and
// the dialog's default processing comes back here only to be told "not
// handled".
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG || GetWindowLongPtrA(window, DWLP_USER) != 0) return FALSE;
  return win32::Guarded(
      [&]() -> INT_PTR {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        if (!dialog->Attach(window)) return TRUE;
        const LRESULT focusFirst = dialog->HandleMessage(WM_INITDIALOG, wParam, lParam);
        if (const DialogTemplate* t = FindDialogTemplate(dialog->TemplateId()))
          CentreWhenAsked(window, *t);
        return focusFirst;
      },
      TRUE);
}

// Creates the dialog's window; the object is attached once this returns
// true.
bool CreateDialogWindow(CDialog& dialog, HWND owner) {
  const DialogTemplate* t = FindDialogTemplate(dialog.TemplateId());
  if (t == nullptr) return false;
  const std::vector<WORD> layout = win32::BuildDialogTemplate(*t);
  CreateDialogIndirectParamA(win32::ModuleInstance(),
                             reinterpret_cast<const DLGTEMPLATE*>(layout.data()), owner,
                             &DialogProc, reinterpret_cast<LPARAM>(&dialog));
  return dialog.m_hWnd != nullptr;
}

// The window that a modal dialog disables while it runs: its parent, or else
// the active window, or else the application's main window.
HWND ModalOwner(const CDialog& dialog) {
  if (CWnd* parent = dialog.ParentWindow()) return parent->m_hWnd;
  if (HWND active = GetActiveWindow()) return active;
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != &dialog)
    return app->m_pMainWnd->m_hWnd;
  return nullptr;
}

// Keeps the owner disabled for as long as it lives, and enables it again
// before the dialog goes, so that the owner becomes the active window.
class DisabledOwner {
 public:
  explicit DisabledOwner(HWND owner)
      : owner_(owner), wasEnabled_(owner != nullptr && IsWindowEnabled(owner)) {
    if (wasEnabled_) EnableWindow(owner_, FALSE);
  }
  ~DisabledOwner() {
    if (wasEnabled_) EnableWindow(owner_, TRUE);
  }
  DisabledOwner(const DisabledOwner&) = delete;
  DisabledOwner& operator=(const DisabledOwner&) = delete;

 private:
  HWND owner_;
  bool wasEnabled_;
};

class RegisteredRun {
 public:
  explicit RegisteredRun(ModalRun& run) { modalRuns.push_back(&run); }
  ~RegisteredRun() { modalRuns.pop_back(); }
  RegisteredRun(const RegisteredRun&) = delete;
  RegisteredRun& operator=(const RegisteredRun&) = delete;
};

}  // namespace

intptr_t CDialog::DoModal() {
  ModalRun run{this, false, -1};
  const RegisteredRun registered(run);
  HWND owner = ModalOwner(*this);
  if (!CreateDialogWindow(*this, owner)) return -1;
  {
    const DisabledOwner disabled(owner);
    if (!run.ended && !::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    MSG msg{};
    while (!run.ended && m_hWnd != nullptr) {
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == -1) break;
      if (got == 0) {
        // A quit request ends the dialog and stays for the loop outside.
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      bool consumed = false;
      if (m_hWnd != nullptr && (msg.hwnd == m_hWnd || IsChild(m_hWnd, msg.hwnd))) {
        WindowMessage offered{msg.hwnd, msg.message, msg.wParam, msg.lParam};
        consumed = PreTranslateMessage(&offered) != FALSE;
      }
      if (!consumed) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  CWnd::DestroyWindow();
  return run.ended ? run.result : -1;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  if (m_hWnd != nullptr) return FALSE;
  m_nIDTemplate = templateId;
  m_pParentWnd = parent;
  return CreateDialogWindow(*this, parent == nullptr ? nullptr : parent->m_hWnd);
}

void CDialog::EndDialog(int result) {
  if (ModalRun* run = FindRun(this)) {
    run->ended = true;
    run->result = result;
    // The loop may be waiting for a message; give it one to look again.
    PostMessageA(m_hWnd, WM_NULL, 0, 0);
  } else if (m_hWnd != nullptr) {
    ::ShowWindow(m_hWnd, SW_HIDE);
  }
}

BOOL CDialog::PreTranslateMessage(WindowMessage* msg) {
  if (m_hWnd == nullptr || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
  MSG keys = win32::ToMsg(*msg);
  return IsDialogMessageA(m_hWnd, &keys);
}
