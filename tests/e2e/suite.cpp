#include "tests/e2e/suite.h"

#include "tools/ui_driver/input.h"
#include "tools/ui_driver/screenshot.h"
#include "tools/ui_driver/windows.h"

namespace e2e {

const char kAppName[] = "Tarnwick";
const char kMainCaption[] = "Tarnwick 1.2";
const char kAboutCaption[] = "About the Tarnwick";

namespace {

constexpr int kPortList = 1000;
constexpr int kTestButton = 1002;
constexpr int kUpdateButton = 1003;
constexpr int kCompletionNote = 1004;
constexpr int kVersionBanner = 1005;

}  // namespace

// No file may be named "comN.log": for Windows that is the device COMN.
std::string Suite::LogOf(int port) const {
  return outDir + "\\com" + std::to_string(port) + "-bytes.log";
}

std::string Suite::ImageOf(int port) const {
  return outDir + "\\com" + std::to_string(port) + "-image.bin";
}

void Suite::Screenshot(const std::string& name, HWND idleWindow) {
  if (idleWindow != nullptr) driver::PaintNow(idleWindow);
  const std::string path = outDir + "\\screenshots\\" + name + ".bmp";
  tally.Check(driver::SaveScreen(path), "screenshot " + name, "could not write " + path);
}

MainState ReadMainState(HWND main) {
  return {IsWindowEnabled(GetDlgItem(main, kTestButton)) != FALSE,
          IsWindowEnabled(GetDlgItem(main, kUpdateButton)) != FALSE,
          IsWindowEnabled(GetDlgItem(main, kPortList)) != FALSE,
          IsWindowVisible(GetDlgItem(main, kCompletionNote)) != FALSE,
          driver::TextOf(GetDlgItem(main, kVersionBanner))};
}

std::string Describe(const MainState& s) {
  const auto onOff = [](bool on) { return on ? "enabled" : "disabled"; };
  return std::string("TEST ") + onOff(s.testEnabled) + ", UPDATE " + onOff(s.updateEnabled) +
         ", list " + onOff(s.listEnabled) + ", note " + (s.noteVisible ? "shown" : "hidden") +
         ", banner \"" + Visible(s.banner) + "\"";
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

bool CentredOn(const RECT& outer, const RECT& inner) {
  // Both sums are twice the centre: a pixel off either way is a difference of two.
  const LONG dx = (outer.left + outer.right) - (inner.left + inner.right);
  const LONG dy = (outer.top + outer.bottom) - (inner.top + inner.bottom);
  return dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2;
}

driver::MessageBoxView WaitForMessageBox(const driver::Program& program) {
  HWND box = driver::WaitForWindow(program.id(), kAppName);
  return box == nullptr ? driver::MessageBoxView{} : driver::ReadMessageBox(box);
}

HWND StartAndAccept(Suite& suite, driver::Program& program) {
  if (!suite.tally.Check(program.started(), "the program starts", suite.program)) return nullptr;
  const driver::MessageBoxView question = WaitForMessageBox(program);
  if (!suite.tally.Check(question.window != nullptr, "the start-up question comes")) return nullptr;
  driver::Answer(question, IDYES);
  HWND main = driver::WaitForWindow(program.id(), kMainCaption);
  suite.tally.Check(main != nullptr, "Yes leads to the main window");
  return main;
}

driver::MessageBoxView RunTest(HWND main, const driver::Program& program, int port) {
  SendMessageA(GetDlgItem(main, kPortList), CB_SETCURSEL, static_cast<WPARAM>(port - 1), 0);
  driver::ClickButton(GetDlgItem(main, kTestButton));
  return WaitForMessageBox(program);
}

}  // namespace e2e
