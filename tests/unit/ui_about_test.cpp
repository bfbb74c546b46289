// The About box and the system commands that reach the main window.
#include <string>
#include <vector>

#include "platform/window/keyboard.h"
#include "ui_fixture.h"

namespace {

using AboutBox = UiTest;

TEST_F(AboutBox, ShowsTheVersionOnceEachTimeItOpens) {
  std::vector<std::string> titles;
  for (int opening = 0; opening < 2; ++opening) {
    WhenMainIdle([](HWND main) { headless::Post(main, WM_SYSCOMMAND, 16); });
    headless::WhenIdle(kAboutDialog, [&titles](HWND about) {
      titles.push_back(headless::Control(about, kAboutTitle)->text);
      EXPECT_EQ(about->text, "About the Tarnwick");
      ASSERT_NE(about->focus, nullptr);
      EXPECT_EQ(about->focus->id, IDOK);
      // The main window owns the box and waits, disabled, until it ends.
      HWND main = headless::FindDialog(kMainDialog);
      EXPECT_EQ(about->owner, main);
      EXPECT_FALSE(main->enabled);
      headless::Click(about, IDOK);
    });
  }
  WhenMainIdle([](HWND main) {
    EXPECT_TRUE(main->enabled);
    headless::Click(main, kExitButton);
  });
  RunProgram();
  EXPECT_EQ(titles, (std::vector<std::string>{"Tarnwick 1.2", "Tarnwick 1.2"}));
}

TEST_F(AboutBox, EndsWithEscapeAndTheCloseCommand) {
  WhenMainIdle([](HWND main) { headless::Post(main, WM_SYSCOMMAND, 16); });
  headless::WhenIdle(kAboutDialog, [](HWND) { headless::PressKey(VK_ESCAPE); });
  WhenMainIdle([](HWND main) { headless::Post(main, WM_SYSCOMMAND, 16); });
  headless::WhenIdle(kAboutDialog,
                     [](HWND about) { headless::Post(about, WM_SYSCOMMAND, SC_CLOSE); });
  ClickExit();
  RunProgram();
}

// The low four bits of a system command are the platform's, and only the
// low 16 bits count: 16 to 31 open the box whatever the high bits hold;
// every other command goes on to default processing.
TEST_F(AboutBox, OpensForSystemCommands16To31Only) {
  struct Case {
    UINT command;
    bool opensAbout;
  };
  const Case cases[] = {
      {0x0010, true},  {0x0011, true},     {0x001F, true},  {0x00010010, true},
      {0xFFFF001F, true}, {0x0000, false}, {0x000F, false}, {0x0020, false},
      {0x00010020, false}, {SC_MOVE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    NextCase();
    WhenMainIdle([&](HWND main) { headless::Post(main, WM_SYSCOMMAND, c.command); });
    if (c.opensAbout) {
      headless::WhenIdle(kAboutDialog, [](HWND about) { headless::Click(about, IDOK); });
    }
    ClickExit();
    RunProgram();

    bool toDefault = false;
    for (const auto& m : headless::Log()) {
      if (m.windowId == kMainDialog && m.message == WM_SYSCOMMAND && m.toDefault) {
        toDefault = m.wParam == c.command;
      }
    }
    EXPECT_EQ(toDefault, !c.opensAbout);
  }
}

}  // namespace
