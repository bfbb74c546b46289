#include "tools/ui_driver/process.h"

#include "tools/ui_driver/wait.h"

namespace driver {

Program::Program(const std::string& path) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + path + "\"";
  if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    process_ = {};
  }
}

Program::~Program() {
  if (!started()) return;
  if (running()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, kPatienceMs);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Program::running() const {
  return started() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit() {
  return started() && WaitForSingleObject(process_.hProcess, kPatienceMs) == WAIT_OBJECT_0;
}

}  // namespace driver
