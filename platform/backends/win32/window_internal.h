// What the files of the Win32 window backend share among themselves.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/window/win32_names.h"

#include <exception>
#include <vector>

#include "platform/window/menu.h"
#include "platform/window/templates.h"
#include "platform/window/wnd.h"

namespace win32 {

// The module whose resources (icon 128) the windows use.
HINSTANCE ModuleInstance();

// Gives an object the messages of a window: the window procedure is replaced
// by one that hands every message to object->HandleMessage, and the old one
// is kept for default processing. The binding ends by itself when the window
// is destroyed. False when the window is already bound or cannot be bound.
bool Bind(HWND window, CWnd* object);
void Unbind(HWND window);
// The procedure that a bound window had before; null when it is not bound.
WNDPROC PreviousProcedure(HWND window);

// The object for a window: the bound one, or else one that the backend owns
// and keeps while the window exists.
CWnd* WindowObject(HWND window);
// The object for a menu, owned by the backend.
CMenu* MenuObject(HMENU menu);

// The template in the memory layout that CreateDialogIndirectParam reads.
std::vector<WORD> BuildDialogTemplate(const DialogTemplate& dialog);

MSG ToMsg(const WindowMessage& message);

// Tells the user that an operation ended with an unexpected error. Never
// throws.
void ReportUnexpectedError(const char* what) noexcept;

// Runs body where the system calls the program (a window procedure, the
// program's entry point): an exception ends the body, is reported and gives
// onError, and never unwinds through the system's frames.
template <typename Body>
auto Guarded(Body&& body, decltype(body()) onError) noexcept -> decltype(body()) {
  try {
    return body();
  } catch (const std::exception& e) {
    ReportUnexpectedError(e.what());
  } catch (...) {
    ReportUnexpectedError(nullptr);
  }
  return onError;
}

}  // namespace win32
