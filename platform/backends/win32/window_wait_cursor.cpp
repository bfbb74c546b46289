// The wait cursor: one for the whole program, however many Begin calls are
// open.
#include "platform/backends/win32/window_internal.h"
#include "platform/window/cmd_target.h"

namespace {

int waitDepth = 0;
HCURSOR cursorBeforeWait = nullptr;

}  // namespace

void CCmdTarget::BeginWaitCursor() {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  if (waitDepth++ == 0) cursorBeforeWait = previous;
}

void CCmdTarget::EndWaitCursor() {
  if (waitDepth == 0) return;
  if (--waitDepth == 0) SetCursor(cursorBeforeWait);
}
