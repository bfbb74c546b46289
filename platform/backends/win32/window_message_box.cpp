// Message boxes, captioned with the application's name.
#include "platform/backends/win32/window_internal.h"
#include "platform/window/message_box.h"
#include "platform/window/win_app.h"

int AfxMessageBox(const std::string& text, UINT type) {
  // Over the active window, or over the main window while none is active:
  // the start-up question comes before the main window is first shown.
  HWND owner = GetActiveWindow();
  CWinApp* app = AfxGetApp();
  if (owner == nullptr && app != nullptr && app->m_pMainWnd != nullptr)
    owner = app->m_pMainWnd->m_hWnd;
  return MessageBoxA(owner, text.c_str(), AfxGetAppName(), type);
}
