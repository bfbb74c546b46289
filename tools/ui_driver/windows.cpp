#include "tools/ui_driver/windows.h"

#include "tools/ui_driver/wait.h"

namespace driver {

namespace {

// Processes are numbered from 1 up: 0 stands for any.
constexpr DWORD kAnyProcess = 0;

struct Search {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if ((search->processId == kAnyProcess || owner == search->processId) && IsWindowVisible(window))
    search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
  Search search{processId, {}};
  EnumWindows(&CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> AllVisibleWindows() { return VisibleWindowsOf(kAnyProcess); }

HWND FindWindowOf(DWORD processId, const std::string& caption) {
  for (HWND window : VisibleWindowsOf(processId)) {
    if (TextOf(window) == caption) return window;
  }
  return nullptr;
}

HWND WaitForWindow(DWORD processId, const std::string& caption) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowOf(processId, caption)) != nullptr; });
  return found;
}

bool WaitUntilGone(HWND window) {
  return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

bool WaitUntilIdle(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatienceMs, &result) != 0;
}

std::string TextOf(HWND window) {
  // For a window of another process this reads the text that the system
  // keeps, without sending a message: it answers even while the program is
  // busy in a handler and dispatches nothing.
  char text[4096] = {};
  const int length = GetWindowTextA(window, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<HWND> ChildrenOf(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<std::string> ListEntries(HWND comboBox) {
  // Asked in UTF-16: Wine does not carry the ANSI form of CB_GETLBTEXT to
  // another process.
  std::vector<std::string> entries;
  const LRESULT count = SendMessageW(comboBox, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, i, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(comboBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&wide[0]));
    wide.resize(static_cast<size_t>(length > 0 ? length : 0));
    char narrow[256] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    entries.push_back(narrow);
  }
  return entries;
}

int ListSelection(HWND comboBox) {
  return static_cast<int>(SendMessageA(comboBox, CB_GETCURSEL, 0, 0));
}

}  // namespace driver
