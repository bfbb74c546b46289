#include "platform/backends/headless/world.h"

#include <cstdio>
#include <cstdlib>

namespace headless {

World& TheWorld() {
  static World world;
  return world;
}

void Fault(const std::string& text) {
  World& world = TheWorld();
  if (world.onFault) {
    world.onFault(text);
  } else {
    // A fault with nobody to tell must not pass unseen.
    fprintf(stderr, "headless window backend: %s\n", text.c_str());
    abort();
  }
}

bool IsLive(const HWND__* window) { return window && TheWorld().live.count(window) != 0; }

HWND__* TopLevel(HWND__* window) {
  while (window->parent) window = window->parent;
  return window;
}

void LogMessage(const HWND__* window, UINT message, WPARAM wParam, LPARAM lParam,
                std::string text, bool toDefault) {
  TheWorld().log.push_back(LoggedMessage{window->id, window->windowClass, message, wParam, lParam,
                                         std::move(text), toDefault});
}

LRESULT Deliver(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!IsLive(window)) {
    Fault("message " + std::to_string(message) + " sent to a window that does not exist");
    return 0;
  }
  LogMessage(window, message, wParam, lParam, {}, false);
  if (window->object) return window->object->HandleMessage(message, wParam, lParam);
  return DefaultProcessing(window, message, wParam, lParam);
}

void Reset(std::function<void(const std::string&)> onFault) {
  World& world = TheWorld();
  world.dialogs.clear();
  world.queue.clear();
  world.modalStack.clear();
  world.steps.clear();
  world.answers.clear();
  world.boxes.clear();
  world.log.clear();
  world.waitCursorDepth = 0;
  world.helpRequests = 0;
  world.modifiers = 0;
  world.onFault = std::move(onFault);
}

std::vector<std::string> Leftovers() {
  const World& world = TheWorld();
  std::vector<std::string> found;
  for (const auto& dialog : world.dialogs) {
    found.push_back("dialog " + std::to_string(dialog->id) + " is still open");
  }
  for (int answer : world.answers) {
    found.push_back("answer " + std::to_string(answer) + " was queued for a box never shown");
  }
  for (const auto& step : world.steps) {
    found.push_back("a step for dialog " + std::to_string(step.first) + " never ran");
  }
  if (world.waitCursorDepth != 0) found.push_back("the wait cursor is still showing");
  return found;
}

const std::vector<ShownBox>& Boxes() { return TheWorld().boxes; }
const std::vector<LoggedMessage>& Log() { return TheWorld().log; }
int WaitCursorDepth() { return TheWorld().waitCursorDepth; }
int HelpRequests() { return TheWorld().helpRequests; }

}  // namespace headless

HWND__::~HWND__() {
  headless::TheWorld().live.erase(this);
  if (object) object->m_hWnd = nullptr;
  if (wrapper) wrapper->m_hWnd = nullptr;
}
