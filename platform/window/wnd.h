// CWnd: a C++ object attached to one window of the platform. Handlers reach
// controls by number (GetDlgItem) and work on them through this class.
#pragma once
#include <string>

#include "platform/window/cmd_target.h"
#include "platform/window/messages.h"
#include "platform/window/rect.h"
#include "platform/window/types.h"

#ifndef SW_HIDE
#define SW_HIDE 0
#endif
#ifndef SW_SHOW
#define SW_SHOW 5
#endif

#ifndef SWP_NOSIZE
#define SWP_NOSIZE 0x0001
#endif
#ifndef SWP_NOMOVE
#define SWP_NOMOVE 0x0002
#endif
#ifndef SWP_NOZORDER
#define SWP_NOZORDER 0x0004
#endif
#ifndef SWP_SHOWWINDOW
#define SWP_SHOWWINDOW 0x0040
#endif
#ifndef SWP_HIDEWINDOW
#define SWP_HIDEWINDOW 0x0080
#endif

class CMenu;

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  // Destroys the window if this object is still attached to one.
  ~CWnd() override;

  // The attached window; null when there is none.
  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The child control with this number, or null. The object belongs to the
  // platform and stays valid while the control exists.
  CWnd* GetDlgItem(int id) const;

  void GetWindowText(std::string& text) const;
  void SetWindowText(const std::string& text);

  // Both return the previous state: EnableWindow nonzero when the window was
  // disabled, ShowWindow nonzero when it was visible.
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL ShowWindow(int cmdShow);
  BOOL IsWindowEnabled() const;
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const;

  // SendMessage handles the message at once and returns its result;
  // PostMessage queues it for the message loop.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // The window's system menu, or null when it has none. The object belongs
  // to the platform.
  CMenu* GetSystemMenu(BOOL revert) const;

  // Client rectangle: origin 0,0. Window rectangle: screen coordinates.
  void GetClientRect(CRect* rect) const;
  void GetWindowRect(CRect* rect) const;
  // Position and size in screen coordinates for a top-level window; the SWP_
  // flags say what to leave alone and whether to show or hide it.
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);

  // Sets the large (bigIcon) or small icon with WM_SETICON; returns the
  // previous one.
  HICON SetIcon(HICON icon, BOOL bigIcon);

  virtual BOOL DestroyWindow();

  // Offered every input message bound for this window or one of its children
  // before it is dispatched; true when the message was consumed.
  virtual BOOL PreTranslateMessage(WindowMessage* msg);

  // Opens the platform's help for a context; may be overridden to do nothing.
  virtual void WinHelp(uintptr_t data, UINT command = HELP_CONTEXT);

  // Where the platform delivers a message for this object's window: remembers
  // it for Default, then hands it to WindowProc.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Binds this object to an existing window (a dialog's control, say), so
  // that messages for it reach this object. Detach undoes it.
  BOOL Attach(HWND window);
  HWND Detach();

 protected:
  // The object's message map: each window class handles what it wants and
  // passes the rest to its base class. Here: default processing.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Default processing of the message now being handled.
  LRESULT Default();
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  WindowMessage m_current{};
};
