// The windows that have a C++ object, and the window procedure that hands
// their messages to it.
#include <map>
#include <memory>

#include "platform/backends/win32/window_internal.h"
#include "platform/window/win_app.h"

namespace win32 {
namespace {

struct Binding {
  CWnd* object;
  WNDPROC previous;
};

// Everything here runs on the one user-interface thread.
std::map<HWND, Binding> bindings;
// An object that the backend made for a window leaves the window alone when
// it goes.
struct ReleaseWithoutDestroying {
  void operator()(CWnd* object) const {
    object->m_hWnd = nullptr;
    delete object;
  }
};
using OwnedObject = std::unique_ptr<CWnd, ReleaseWithoutDestroying>;

// Objects made for windows that the program reaches only by number.
std::map<HWND, OwnedObject> ownedObjects;

// Drops the backend's objects of windows that no longer exist. Child windows
// are destroyed before their parent's last message, so a dialog's controls
// are gone by the time it is.
void DropObjectsOfDestroyedWindows() {
  for (auto it = ownedObjects.begin(); it != ownedObjects.end();) {
    if (IsWindow(it->first)) {
      ++it;
    } else {
      it = ownedObjects.erase(it);
    }
  }
}

LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto found = bindings.find(window);
  if (found == bindings.end()) return DefWindowProcA(window, message, wParam, lParam);
  CWnd* const object = found->second.object;
  const WNDPROC previous = found->second.previous;

  if (message == WM_NCDESTROY) {
    Unbind(window);
    object->m_hWnd = nullptr;
    DropObjectsOfDestroyedWindows();
    return CallWindowProcA(previous, window, message, wParam, lParam);
  }
  return Guarded(
      [&]() -> LRESULT {
        // A help request (F1) becomes the Help command, which the
        // application answers.
        if (message == WM_HELP) return object->HandleMessage(WM_COMMAND, ID_HELP, 0);
        return object->HandleMessage(message, wParam, lParam);
      },
      0);
}

}  // namespace

bool Bind(HWND window, CWnd* object) {
  if (window == nullptr || bindings.count(window) != 0) return false;
  const LONG_PTR previous =
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ObjectWindowProc));
  if (previous == 0) return false;
  bindings[window] = {object, reinterpret_cast<WNDPROC>(previous)};
  return true;
}

void Unbind(HWND window) {
  const auto found = bindings.find(window);
  if (found == bindings.end()) return;
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
  bindings.erase(found);
}

WNDPROC PreviousProcedure(HWND window) {
  const auto found = bindings.find(window);
  return found == bindings.end() ? nullptr : found->second.previous;
}

CWnd* WindowObject(HWND window) {
  if (const auto bound = bindings.find(window); bound != bindings.end())
    return bound->second.object;
  OwnedObject& owned = ownedObjects[window];
  if (!owned) {
    owned.reset(new CWnd);
    owned->m_hWnd = window;
  }
  return owned.get();
}

}  // namespace win32
