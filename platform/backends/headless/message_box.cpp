// Message boxes on the headless backend: answered from the test's script and
// recorded.
#include "platform/window/message_box.h"

#include "platform/backends/headless/world.h"
#include "platform/window/win_app.h"

namespace {

bool HasButton(UINT type, int answer) {
  switch (type & 0xF) {
    case MB_OK:
      return answer == IDOK;
    case MB_OKCANCEL:
      return answer == IDOK || answer == IDCANCEL;
    case MB_YESNO:
      return answer == IDYES || answer == IDNO;
  }
  return false;
}

}  // namespace

int AfxMessageBox(const std::string& text, UINT type) {
  headless::World& world = headless::TheWorld();
  int answer = 0;
  if (world.answers.empty()) {
    headless::Fault("a message box was shown with no answer queued:\n" + text);
  } else {
    answer = world.answers.front();
    world.answers.pop_front();
    if (!HasButton(type, answer)) {
      headless::Fault("answer " + std::to_string(answer) + " fits no button of the box:\n" + text);
      answer = 0;
    }
  }
  world.boxes.push_back({text, AfxGetAppName(), type, answer, world.waitCursorDepth});
  return answer;
}
