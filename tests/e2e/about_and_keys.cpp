// The main window's minor handlers: the About box from the system menu, the
// accelerator keys and the information box, help, and the minimised window.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "resources/dialogs.h"
#include "tests/e2e/layout.h"
#include "tests/e2e/scenarios.h"
#include "tools/ui_driver/input.h"
#include "tools/ui_driver/wait.h"
#include "tools/ui_driver/windows.h"

namespace e2e {

namespace {

constexpr int kAboutTitle = 1007;
constexpr int kInfoTexts = 4;

// Four texts, each followed by an empty line.
std::string InfoTextProblem(const std::string& text) {
  size_t start = 0;
  for (int i = 0; i < kInfoTexts; ++i) {
    const size_t end = text.find("\n\n", start);
    if (end == std::string::npos) return "text " + std::to_string(i + 1) + " lacks its empty line";
    if (end == start) return "text " + std::to_string(i + 1) + " is empty";
    start = end + 2;
  }
  return start == text.size() ? "" : "more follows the fourth text";
}

// The program's open menu, if any.
HWND MenuOf(const driver::Program& program) {
  for (HWND window : driver::VisibleWindowsOf(program.id())) {
    if (driver::ClassOf(window) == "#32768") return window;
  }
  return nullptr;
}

void CheckOneAboutBox(Suite& suite, const driver::Program& program, HWND main,
                      const std::string& opening, const std::function<void()>& open,
                      const std::function<void(HWND about)>& close, bool screenshot) {
  Tally& t = suite.tally;
  open();
  HWND about = driver::WaitForWindow(program.id(), kAboutCaption);
  if (!t.Check(about != nullptr, opening + " opens the About box")) return;
  t.CheckText(driver::TextOf(GetDlgItem(about, kAboutTitle)), "Tarnwick 1.2",
              opening + ": the title line");
  CheckLayout(t, "About box", about, kAboutDialogTemplate, kAboutCaption,
              {{kAboutTitle, "Tarnwick 1.2"}});
  RECT owner{}, box{};
  GetWindowRect(main, &owner);
  GetWindowRect(about, &box);
  t.Check(CentredOn(owner, box), opening + ": centred over the main window");
  t.Check(!IsWindowEnabled(main), opening + ": the main window is disabled meanwhile");
  t.Check(FocusOf(about) == GetDlgItem(about, IDOK), opening + ": the focus is on OK");
  if (screenshot) suite.Screenshot("about-box", about);
  close(about);
  t.Check(driver::WaitUntilGone(about), opening + ": the About box closes");
  t.Check(driver::WaitFor([&] { return IsWindowEnabled(main) != FALSE; }),
          opening + ": the main window is enabled again");
}

}  // namespace

void CheckAboutBox(Suite& suite, const driver::Program& program, HWND main) {
  // The system menu by keyboard; the About item is its last, so Up from the
  // first item reaches it. (Its underlined letter would not do: under Wine
  // the menu has an item of Wine's own with the same letter.)
  CheckOneAboutBox(
      suite, program, main, "the system menu's About item",
      [&suite, &program, main] {
        driver::PressKey(main, VK_SPACE, {VK_MENU});
        const bool opened = driver::WaitFor([&] { return MenuOf(program) != nullptr; });
        if (suite.tally.Check(opened, "Alt+Space opens the system menu"))
          suite.Screenshot("system-menu", MenuOf(program));
        driver::PressKey(main, VK_UP);
        driver::PressKey(main, VK_RETURN);
      },
      [](HWND about) { driver::ClickButton(GetDlgItem(about, IDOK)); }, true);
  // The low four bits of a system command are the platform's: 31 is the
  // About item too.
  CheckOneAboutBox(
      suite, program, main, "system command 31",
      [main] { PostMessageA(main, WM_SYSCOMMAND, 31, 0); },
      [](HWND about) { driver::PressKey(about, VK_ESCAPE); }, false);
}

void CheckKeys(Suite& suite, const driver::Program& program, HWND main) {
  Tally& t = suite.tally;
  struct Press {
    const char* name;
    WORD key;
    std::vector<WORD> modifiers;
    bool opensInfo;
  };
  // A key that must not open the box is followed by Tab: once the focus has
  // moved, the key before it has been handled too. The focus starts on EXIT
  // and goes round the tab stops: the port list, TEST, and EXIT again (UPDATE
  // is disabled).
  const Press presses[] = {
      {"F4", VK_F4, {}, true},
      {"Alt+F3", VK_F3, {VK_MENU}, true},
      {"Alt+F5", VK_F5, {VK_MENU}, true},
      {"Shift+F4", VK_F4, {VK_SHIFT}, false},
      {"F4 on the port list", VK_F4, {}, true},
      {"Ctrl+F4", VK_F4, {VK_CONTROL}, false},
      {"F1 (help)", VK_F1, {}, false},
  };
  for (const Press& press : presses) {
    const std::string name = press.name;
    const std::vector<HWND> before = driver::AllVisibleWindows();
    const HWND focus = FocusOf(main);
    if (!t.Check(driver::PressKey(main, press.key, press.modifiers), name + ": key pressed"))
      continue;
    if (press.opensInfo) {
      const driver::MessageBoxView box = WaitForMessageBox(program);
      if (!t.Check(box.window != nullptr, name + " opens the information box")) continue;
      const std::string problem = InfoTextProblem(box.text);
      t.Check(problem.empty(), name + ": four texts, each followed by an empty line",
              problem + ": \"" + Visible(box.text) + "\"");
      t.Check(box.buttons == std::vector<int>{IDOK}, name + ": the box has OK only");
      driver::Answer(box, IDOK);
      const HWND list = GetDlgItem(main, 1000);
      if (focus == list) {
        t.Check(SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) == 0,
                name + ": the list stays closed");
      }
      continue;
    }
    driver::PressKey(main, VK_TAB);
    const bool moved = driver::WaitFor([&] {
      return FocusOf(main) != focus || driver::FindWindowOf(program.id(), kAppName) != nullptr;
    });
    HWND box = driver::FindWindowOf(program.id(), kAppName);
    t.Check(moved && box == nullptr, name + " opens nothing",
            moved ? "a message box came" : "the focus never moved on");
    if (box != nullptr) driver::Answer(driver::ReadMessageBox(box), IDOK);
    const std::vector<HWND> after = driver::AllVisibleWindows();
    t.Check(
        std::set<HWND>(before.begin(), before.end()) == std::set<HWND>(after.begin(), after.end()),
        name + ": no window came or went");
  }
}

void CheckMinimised(Suite& suite, HWND main) {
  Tally& t = suite.tally;
  PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  if (!t.Check(driver::WaitFor([&] { return IsIconic(main) != FALSE; }),
               "the main window minimises"))
    return;
  suite.Screenshot("minimised", main);
  PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  t.Check(driver::WaitFor([&] { return !IsIconic(main); }), "and comes back");
}

}  // namespace e2e
