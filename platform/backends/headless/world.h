// The state of the headless backend shared by its parts: the windows, the
// message queue, the modal dialogs running, and what tests scripted and read.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/backends/headless/headless.h"

struct HICON__ {
  UINT id;
};

struct HACCEL__ {
  const AcceleratorTable* table;
};

struct HDC__ {
  HWND__* window;
};

namespace headless {

struct Posted {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  HWND inputFrom;      // the window that took the input; null for other messages
  unsigned modifiers;  // held with a key
};

struct World {
  std::function<void(const std::string&)> onFault;
  std::set<const HWND__*> live;  // declared first: the windows below leave it as they go
  std::vector<std::unique_ptr<HWND__>> dialogs;
  std::deque<Posted> queue;
  std::vector<HWND__*> modalStack;
  std::deque<std::pair<int, std::function<void(HWND)>>> steps;
  std::deque<int> answers;
  std::vector<ShownBox> boxes;
  std::vector<LoggedMessage> log;
  int waitCursorDepth = 0;
  int helpRequests = 0;
  unsigned modifiers = 0;  // held while the current key is handled
};

World& TheWorld();
void Fault(const std::string& text);
bool IsLive(const HWND__* window);
HWND__* TopLevel(HWND__* window);

// Handles a message at once: the window's object if it has one, default
// processing otherwise.
LRESULT Deliver(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefaultProcessing(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam);
void LogMessage(const HWND__* window, UINT message, WPARAM wParam, LPARAM lParam,
                std::string text, bool toDefault);

// Builds a dialog and its controls from a template, attached to object.
HWND__* CreateDialogWindow(const DialogTemplate& dialog, HWND__* owner, CWnd* object);
// Runs WM_INITDIALOG and gives the first tab stop the focus when it asks.
void InitialiseDialog(HWND__* dialog);
void DestroyWindowNode(HWND__* window);
void MoveFocus(HWND__* dialog, bool backwards);

// Handles the next queued message; false when the queue is empty.
bool PumpOne();

}  // namespace headless
