// CWnd on the headless backend: every operation reads or changes the window
// object in memory.
#include "platform/window/wnd.h"

#include "platform/backends/headless/geometry.h"
#include "platform/backends/headless/world.h"
#include "platform/window/menu.h"

using headless::Fault;
using headless::IsLive;

namespace {

// The window of the object, or null after reporting that there is none.
HWND__* Live(const CWnd* object, const char* operation) {
  if (IsLive(object->m_hWnd)) return object->m_hWnd;
  Fault(std::string(operation) + " on an object without a window");
  return nullptr;
}

bool VisibleWithParents(const HWND__* window) {
  for (; window; window = window->parent) {
    if (!window->visible) return false;
  }
  return true;
}

void SetVisible(HWND__* window, bool visible) {
  if (window->visible == visible) return;
  window->visible = visible;
  headless::LogMessage(window, WM_SHOWWINDOW, visible, 0, {}, false);
}

}  // namespace

CWnd::~CWnd() {
  if (IsLive(m_hWnd)) DestroyWindow();
}

CWnd* CWnd::GetDlgItem(int id) const {
  HWND__* window = Live(this, "GetDlgItem");
  if (!window) return nullptr;
  for (auto& control : window->children) {
    if (control->id != id) continue;
    if (control->object) return control->object;
    if (!control->wrapper) {
      control->wrapper = std::make_unique<CWnd>();
      control->wrapper->m_hWnd = control.get();
    }
    return control->wrapper.get();
  }
  return nullptr;
}

void CWnd::GetWindowText(std::string& text) const {
  HWND__* window = Live(this, "GetWindowText");
  text = window ? window->text : std::string();
}

void CWnd::SetWindowText(const std::string& text) {
  HWND__* window = Live(this, "SetWindowText");
  if (!window) return;
  window->text = text;
  headless::LogMessage(window, WM_SETTEXT, 0, 0, text, false);
}

BOOL CWnd::EnableWindow(BOOL enable) {
  HWND__* window = Live(this, "EnableWindow");
  if (!window) return FALSE;
  const BOOL wasDisabled = !window->enabled;
  window->enabled = enable != FALSE;
  // A disabled control cannot keep the focus; keys then go to the dialog.
  if (!enable && window->parent && window->parent->focus == window) {
    window->parent->focus = nullptr;
  }
  return wasDisabled;
}

BOOL CWnd::ShowWindow(int cmdShow) {
  HWND__* window = Live(this, "ShowWindow");
  if (!window) return FALSE;
  const BOOL wasVisible = window->visible;
  SetVisible(window, cmdShow != SW_HIDE);
  return wasVisible;
}

BOOL CWnd::IsWindowEnabled() const {
  HWND__* window = Live(this, "IsWindowEnabled");
  return window && window->enabled;
}

BOOL CWnd::IsWindowVisible() const {
  HWND__* window = Live(this, "IsWindowVisible");
  return window && VisibleWithParents(window);
}

BOOL CWnd::IsIconic() const {
  HWND__* window = Live(this, "IsIconic");
  return window && window->iconic;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND__* window = Live(this, "SendMessage");
  return window ? headless::Deliver(window, message, wParam, lParam) : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND__* window = Live(this, "PostMessage");
  if (!window) return FALSE;
  headless::TheWorld().queue.push_back({window, message, wParam, lParam, nullptr, 0});
  return TRUE;
}

CMenu* CWnd::GetSystemMenu(BOOL revert) const {
  HWND__* window = Live(this, "GetSystemMenu");
  if (!window || !window->systemMenuItems) return nullptr;
  if (revert) {
    Fault("reverting a system menu is not supported");
    return nullptr;
  }
  return &window->systemMenu;
}

void CWnd::GetClientRect(CRect* rect) const {
  HWND__* window = Live(this, "GetClientRect");
  *rect = window ? headless::ClientRect(window) : CRect{};
}

void CWnd::GetWindowRect(CRect* rect) const {
  HWND__* window = Live(this, "GetWindowRect");
  *rect = window ? headless::ScreenRect(window) : CRect{};
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT flags) {
  HWND__* window = Live(this, "SetWindowPos");
  if (!window) return FALSE;
  CRect& r = window->rect;
  if (!(flags & SWP_NOSIZE)) r = CRect{r.left, r.top, r.left + cx, r.top + cy};
  if (!(flags & SWP_NOMOVE)) r = CRect{x, y, x + r.Width(), y + r.Height()};
  if (flags & SWP_SHOWWINDOW) SetVisible(window, true);
  if (flags & SWP_HIDEWINDOW) SetVisible(window, false);
  window->lastPosFlags = flags;
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (!IsLive(m_hWnd)) return FALSE;
  headless::DestroyWindowNode(m_hWnd);
  return TRUE;
}

void CWnd::WinHelp(uintptr_t, UINT) { ++headless::TheWorld().helpRequests; }

BOOL CWnd::Attach(HWND window) {
  if (!IsLive(window) || m_hWnd || (window->object && window->object != this)) {
    Fault("cannot attach an object to window " + std::to_string(window ? window->id : 0));
    return FALSE;
  }
  window->object = this;
  m_hWnd = window;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (IsLive(window)) window->object = nullptr;
  m_hWnd = nullptr;
  return window;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND__* window = Live(this, "DefWindowProc");
  if (!window) return 0;
  headless::LogMessage(window, message, wParam, lParam, {}, true);
  return headless::DefaultProcessing(window, message, wParam, lParam);
}
