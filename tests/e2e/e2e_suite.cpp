// End-to-end tests: Tarnwick.exe as a user sees it, driven from outside
// against simulated scanners on its COM ports (tests/e2e/run.sh sets them
// up). Prints every check and, last, "N passed, M failed".
//
//   e2e_suite PROGRAM OUTPUT_DIR PAYLOAD
//
// OUTPUT_DIR holds the simulators' byte logs (comN-bytes.log), the image the
// updated scanner received (com1-image.bin), and gets the screenshots
// (screenshots/*.bmp).
#include <cstdio>

#include "tests/e2e/scenarios.h"
#include "tools/ui_driver/input.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: e2e_suite PROGRAM OUTPUT_DIR PAYLOAD\n");
    return 2;
  }
  e2e::Suite suite{argv[1], argv[2], argv[3], {}};
  CreateDirectoryA((suite.outDir + "\\screenshots").c_str(), nullptr);

  e2e::CheckDeclinedStart(suite);
  {
    driver::Program program(suite.program);
    if (HWND main = e2e::StartAndAccept(suite, program)) {
      e2e::CheckInitialWindow(suite, main);
      e2e::CheckAboutBox(suite, program, main);
      e2e::CheckKeys(suite, program, main);
      e2e::CheckMinimised(suite, main);
      e2e::CheckFailedTests(suite, program, main);
      e2e::CheckDeclinedUpdates(suite, program, main);
      e2e::CheckUpdate(suite, program, main);
      driver::ClickButton(GetDlgItem(main, IDOK));
      suite.tally.Check(program.WaitForExit(), "EXIT ends the program after the update");
    }
  }
  e2e::CheckUpdateWithoutReadyByte(suite);
  e2e::CheckWaysToLeave(suite);

  std::printf("%s\n", suite.tally.Summary().c_str());
  return suite.tally.failed() == 0 ? 0 : 1;
}
