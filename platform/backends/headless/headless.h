// The headless window backend, as tests see it: windows are objects in
// memory (HWND points at one), message boxes are answered from a script, and
// a modal dialog with nothing left to do runs the next step the test queued
// for it. Nothing here draws or waits.
//
// Geometry: the screen is 1024 x 768 pixels. A dialog unit is a quarter of
// the horizontal and an eighth of the vertical base unit of 6 x 13 pixels,
// rounded to the nearest pixel (halves away from zero). A caption adds 18
// pixels at the top, a dialog frame 3 pixels on each side, a border 1 pixel.
// Dialogs whose template sits at 0,0 without DS_CENTER are centred over their
// owner, or over the screen when they have none; modeless dialogs likewise.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/menu.h"
#include "platform/window/rect.h"
#include "platform/window/templates.h"
#include "platform/window/types.h"
#include "platform/window/wnd.h"

struct MenuItem {
  UINT flags;
  uintptr_t id;
  std::string text;
};

struct HMENU__ {
  std::vector<MenuItem> items;
};

struct DrawnIcon {
  int x;
  int y;
  HICON icon;
};

// One window: a dialog or one of its controls. Tests read these fields;
// they change them only through the functions below.
struct HWND__ {
  int id = 0;               // control number; the template number for a dialog
  std::string windowClass;  // "Button", "ComboBox", ...; "#32770" for a dialog
  std::string text;
  uint16_t imageId = 0;
  uint32_t style = 0;
  uint32_t exStyle = 0;
  bool enabled = true;
  bool visible = false;
  bool iconic = false;
  CRect rect;                // screen coordinates (dialog) or parent-client (control)
  int clientWidthIconic = 0;  // client size while minimised
  int clientHeightIconic = 0;
  HWND__* parent = nullptr;  // the dialog of a control
  HWND__* owner = nullptr;   // the owner of a dialog
  std::vector<std::unique_ptr<HWND__>> children;  // controls in template order

  // Dialogs
  HWND__* focus = nullptr;
  bool modal = false;
  bool ended = false;
  int result = 0;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  std::unique_ptr<HMENU__> systemMenuItems;  // null: no system menu
  CMenu systemMenu;
  UINT lastPosFlags = 0;      // flags of the last SetWindowPos
  std::vector<DrawnIcon> drawnIcons;
  int paints = 0;             // paint contexts begun and ended

  // Combo boxes
  std::vector<std::string> items;
  int selection = -1;
  bool droppedDown = false;

  // Progress bars
  int rangeLow = 0;
  int rangeHigh = 100;
  int position = 0;

  // The object that handles the window's messages; null for a control that
  // no object is attached to.
  CWnd* object = nullptr;
  std::unique_ptr<CWnd> wrapper;  // what GetDlgItem hands out otherwise

  HWND__() = default;
  HWND__(const HWND__&) = delete;
  HWND__& operator=(const HWND__&) = delete;
  ~HWND__();
};

namespace headless {

// Modifier keys held with a key press.
constexpr unsigned kShift = 1;
constexpr unsigned kCtrl = 2;
constexpr unsigned kAlt = 4;

// Forgets every window, queued message, script and record. A fault of the
// program or the test found later (a box nobody answered, a dialog waiting
// with no step queued, an unbalanced wait cursor...) goes to onFault.
void Reset(std::function<void(const std::string&)> onFault);

// What should be empty when a test ends: windows still open, answers and
// steps queued but not used, a wait cursor still showing.
std::vector<std::string> Leftovers();

// Message boxes --------------------------------------------------------------
struct ShownBox {
  std::string text;
  std::string caption;
  UINT style;
  int answer;
  int waitCursorDepth;  // wait cursor nesting while the box was shown
};

// The answer the next message box gets (IDOK, IDYES, IDNO...). An answer
// that the box has no button for is a fault.
void AnswerNextBox(int answer);
const std::vector<ShownBox>& Boxes();

// Modal dialogs ---------------------------------------------------------------
// A step for the next time a modal dialog of this template has no message
// left to handle. Steps run strictly in the order queued.
void WhenIdle(int templateId, std::function<void(HWND dialog)> step);

// The most recently created dialog of this template still open, or null.
HWND FindDialog(int templateId);
// The control of a dialog with this number, or null.
HWND Control(HWND dialog, int id);

// Input, as a user gives it: each goes through the message queue, offered
// to PreTranslateMessage of the target and its dialog first. Input for a
// window that is disabled, or under another modal window, is dropped.
// Click posts a button click; false when the button is disabled or hidden.
bool Click(HWND dialog, int id);
// A key pressed on the focused control of the active dialog, or on the
// dialog itself when no control has the focus.
void PressKey(UINT key, unsigned modifiers = 0);
void SetFocus(HWND control);
// Any other message, posted.
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Minimises a dialog with the client area it then has, and asks it to paint.
void Minimise(HWND dialog, int clientWidth, int clientHeight);

// Records ---------------------------------------------------------------------
struct LoggedMessage {
  int windowId;    // as HWND__::id
  std::string windowClass;
  UINT message;    // WM_SETTEXT and WM_SHOWWINDOW stand for text and visibility changes
  WPARAM wParam;
  LPARAM lParam;
  std::string text;   // the new text of WM_SETTEXT
  bool toDefault;     // passed on by the window's object to default processing
};

// Every message that reached a window, and every default processing, in order.
const std::vector<LoggedMessage>& Log();
int WaitCursorDepth();
int HelpRequests();

}  // namespace headless
