// CWnd on Win32: every operation is the window call of the same name on the
// attached window.
#include <string>

#include "platform/backends/win32/window_internal.h"
#include "platform/window/win_app.h"

CWnd::~CWnd() {
  if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int id) const {
  HWND control = ::GetDlgItem(m_hWnd, id);
  return control == nullptr ? nullptr : win32::WindowObject(control);
}

void CWnd::GetWindowText(std::string& text) const {
  std::string buffer(static_cast<size_t>(GetWindowTextLengthA(m_hWnd)) + 1, '\0');
  const int length = GetWindowTextA(m_hWnd, &buffer[0], static_cast<int>(buffer.size()));
  buffer.resize(length > 0 ? static_cast<size_t>(length) : 0);
  text = buffer;
}

void CWnd::SetWindowText(const std::string& text) { SetWindowTextA(m_hWnd, text.c_str()); }

BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(m_hWnd, message, wParam, lParam);
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
  HMENU menu = ::GetSystemMenu(m_hWnd, revert);
  return menu == nullptr ? nullptr : win32::MenuObject(menu);
}

namespace {

CRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

void CWnd::GetClientRect(CRect* rect) const {
  RECT r{};
  ::GetClientRect(m_hWnd, &r);
  *rect = FromRect(r);
}

void CWnd::GetWindowRect(CRect* rect) const {
  RECT r{};
  ::GetWindowRect(m_hWnd, &r);
  *rect = FromRect(r);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter == nullptr ? nullptr : insertAfter->m_hWnd, x, y, cx,
                        cy, flags);
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  const BOOL destroyed = ::DestroyWindow(m_hWnd);
  // A bound window has let go of this object by now; any other is simply gone.
  if (destroyed) m_hWnd = nullptr;
  return destroyed;
}

void CWnd::WinHelp(uintptr_t data, UINT command) {
  // The help file bears the application's name.
  const std::string helpFile = std::string(AfxGetAppName()) + ".hlp";
  ::WinHelpA(m_hWnd, helpFile.c_str(), command, data);
}

BOOL CWnd::Attach(HWND window) {
  if (m_hWnd != nullptr || !win32::Bind(window, this)) return FALSE;
  m_hWnd = window;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  win32::Unbind(window);
  m_hWnd = nullptr;
  return window;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = win32::PreviousProcedure(m_hWnd);
  return previous != nullptr ? CallWindowProcA(previous, m_hWnd, message, wParam, lParam)
                             : DefWindowProcA(m_hWnd, message, wParam, lParam);
}
