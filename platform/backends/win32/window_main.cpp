// The program's entry point: the one application object, built during static
// initialisation, does all its work in InitInstance. When that returns, the
// program has nothing left to do, so no message loop follows.
#include "platform/backends/win32/window_internal.h"

#include <commctrl.h>

#include "platform/window/win_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The progress window's bar is a common control.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  return win32::Guarded(
      []() -> int {
        if (CWinApp* app = AfxGetApp()) app->InitInstance();
        return 0;
      },
      1);
}
