// Small bridges between the window library's plain types and the system's.
#include "platform/backends/win32/window_internal.h"
#include "platform/window/metrics.h"

namespace win32 {

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

MSG ToMsg(const WindowMessage& message) {
  MSG msg{};
  msg.hwnd = message.hwnd;
  msg.message = message.message;
  msg.wParam = message.wParam;
  msg.lParam = message.lParam;
  msg.time = static_cast<DWORD>(GetMessageTime());
  const DWORD position = GetMessagePos();
  msg.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  return msg;
}

}  // namespace win32

namespace platform {

int GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

}  // namespace platform
