// The wait cursor on the headless backend: only its nesting depth.
#include "platform/backends/headless/world.h"
#include "platform/window/cmd_target.h"

void CCmdTarget::BeginWaitCursor() { ++headless::TheWorld().waitCursorDepth; }

void CCmdTarget::EndWaitCursor() {
  int& depth = headless::TheWorld().waitCursorDepth;
  if (depth == 0) {
    headless::Fault("EndWaitCursor without BeginWaitCursor");
    return;
  }
  --depth;
}
