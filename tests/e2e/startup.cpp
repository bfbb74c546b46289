// Starting and leaving the program: the start-up question, the main window
// as it first shows, and every way out of it.
#include <functional>
#include <string>
#include <vector>

#include "resources/dialogs.h"
#include "tests/e2e/expected_texts.h"
#include "tests/e2e/layout.h"
#include "tests/e2e/scenarios.h"
#include "tools/ui_driver/input.h"
#include "tools/ui_driver/windows.h"

namespace e2e {

namespace {

constexpr int kExitButton = 1;
constexpr int kPortList = 1000;
constexpr int kStep7Text = 1006;
constexpr int kPortCount = 256;

}  // namespace

void CheckDeclinedStart(Suite& suite) {
  Tally& t = suite.tally;
  driver::Program program(suite.program);
  if (!t.Check(program.started(), "the program starts", suite.program)) return;
  const driver::MessageBoxView question = WaitForMessageBox(program);
  if (!t.Check(question.window != nullptr, "the start-up question comes")) return;
  t.CheckText(question.text, kStartupQuestion, "start-up question: text");
  t.Check(question.buttons == std::vector<int>{IDYES, IDNO}, "start-up question: Yes and No");
  t.Check(question.defaultButton == IDNO, "start-up question: No is the default",
          "default " + std::to_string(question.defaultButton));
  t.Check(driver::FindWindowOf(program.id(), kMainCaption) == nullptr,
          "start-up question: comes before the main window shows");
  suite.Screenshot("startup-question", question.window);
  driver::Answer(question, IDNO);
  t.Check(program.WaitForExit(), "No at the start-up question ends the program");
}

void CheckInitialWindow(Suite& suite, HWND main) {
  Tally& t = suite.tally;
  const std::string step7 = std::string(TemplateText(kMainDialogTemplate, kStep7Text)) + " 1.2";
  CheckLayout(t, "main window", main, kMainDialogTemplate, kMainCaption,
              {{1005, InitialBanner()}, {kStep7Text, step7}});
  const std::string shownStep7 = driver::TextOf(GetDlgItem(main, kStep7Text));
  t.Check(shownStep7.size() > 12 && shownStep7.substr(shownStep7.size() - 12) == "version  1.2",
          "step 7 ends with two blanks and 1.2", Visible(shownStep7));

  const std::vector<std::string> ports = driver::ListEntries(GetDlgItem(main, kPortList));
  std::string wrong;
  for (size_t i = 0; i < ports.size(); ++i) {
    if (ports[i] != "COM" + std::to_string(i + 1))
      wrong += " [" + std::to_string(i) + "] " + ports[i];
  }
  t.Check(ports.size() == kPortCount && wrong.empty(),
          "the port list holds COM1 to COM256 in order",
          std::to_string(ports.size()) + " entries" + wrong);
  t.Check(driver::ListSelection(GetDlgItem(main, kPortList)) == 0, "COM1 is selected");

  const MainState expected{true, false, true, false, InitialBanner()};
  const MainState state = ReadMainState(main);
  t.Check(state == expected, "at start: TEST enabled, UPDATE disabled, note hidden",
          Describe(state));
  t.Check(FocusOf(main) == GetDlgItem(main, kExitButton), "the keyboard focus is on EXIT");

  RECT area{}, window{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(main, &window);
  t.Check(CentredOn(area, window), "the main window is centred on the screen");
  suite.Screenshot("main-window", main);
}

void CheckWaysToLeave(Suite& suite) {
  struct Way {
    const char* name;
    std::function<void(HWND main)> leave;
  };
  const Way ways[] = {
      {"Enter (EXIT has the focus)", [](HWND main) { driver::PressKey(main, VK_RETURN); }},
      {"Space (EXIT has the focus)", [](HWND main) { driver::PressKey(main, VK_SPACE); }},
      {"Escape", [](HWND main) { driver::PressKey(main, VK_ESCAPE); }},
      {"Alt+F4", [](HWND main) { driver::PressKey(main, VK_F4, {VK_MENU}); }},
      {"the close box", [](HWND main) { PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Way& way : ways) {
    driver::Program program(suite.program);
    HWND main = StartAndAccept(suite, program);
    if (main == nullptr) continue;
    way.leave(main);
    suite.tally.Check(program.WaitForExit(), std::string(way.name) + " ends the program");
  }
}

}  // namespace e2e
