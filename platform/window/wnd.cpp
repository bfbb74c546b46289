// The portable part of CWnd: message delivery and default processing.
#include "platform/window/wnd.h"

LRESULT CWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const WindowMessage outer = m_current;
  m_current = WindowMessage{m_hWnd, message, wParam, lParam};
  const LRESULT result = WindowProc(message, wParam, lParam);
  m_current = outer;
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL,
                                             reinterpret_cast<LPARAM>(icon)));
}

BOOL CWnd::PreTranslateMessage(WindowMessage*) { return FALSE; }
