// Start-up of the program and the main window as the user first sees it.
#include <string>
#include <vector>

#include "platform/window/keyboard.h"
#include "platform/window/resources.h"
#include "platform/window/styles.h"
#include "ui/updater_dlg.h"
#include "ui_fixture.h"

namespace {

const char kQuestion[] =
    "IMPORTANT!!!\n\nBefore attempting to use this utility, please ensure that you can transfer "
    "data\nbetween the PRO-96 and your PC, using a supported cable. A good test would be\nto "
    "acquire one of the data-management programs available, and perform a few\nupload and "
    "download operations between such a program and your scanner.\n\nThe steps described in "
    "this utility are written with the presumption that you\nalready have a suitable data "
    "transfer cable and are familiar with using that\ncable to connect your PRO-96 to your "
    "computer.\n\nPlease be assured that you cannot 'destroy' your radio with this utility - "
    "you\ncan always revert to the factory DSP programming via the procedure described in\nthe "
    "PRO-96 manual.\n\nAre you ready to proceed with this update utility?";

using UpdaterStartup = UiTest;

TEST_F(UpdaterStartup, AsksFirstAndGoesOnOnlyAfterYes) {
  struct Case {
    int answer;
    bool windowStaysOpen;
  };
  for (const Case c : {Case{IDYES, true}, Case{IDNO, false}}) {
    SCOPED_TRACE(c.answer);
    NextCase();
    bool sawWindow = false;
    if (c.windowStaysOpen) {
      WhenMainIdle([&](HWND main) {
        sawWindow = main->visible;
        headless::Click(main, kExitButton);
      });
    }
    headless::AnswerNextBox(c.answer);
    CUpdaterApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(sawWindow, c.windowStaysOpen);
    EXPECT_EQ(app.m_pMainWnd, nullptr);

    ASSERT_EQ(headless::Boxes().size(), 1u);
    const headless::ShownBox& box = headless::Boxes()[0];
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.caption, "Tarnwick");
    EXPECT_EQ(box.style, MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2);
  }
}

TEST_F(UpdaterStartup, NoEndsTheMainWindowWithCancel) {
  headless::AnswerNextBox(IDNO);
  CUpdaterDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

// A question that could not be shown answers 0, which is not Yes either.
TEST(UpdaterStartupWithoutAnswer, EndsTheProgram) {
  std::vector<std::string> faults;
  headless::Reset([&faults](const std::string& fault) { faults.push_back(fault); });
  CUpdaterDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_NE(faults[0].find("no answer queued"), std::string::npos);
  headless::Reset(nullptr);
}

TEST_F(UpdaterStartup, ShowsTheStepsWithTheImageVersion) {
  WhenMainIdle([](HWND main) {
    auto text = [main](int id) { return headless::Control(main, id)->text; };
    EXPECT_EQ(main->text, "Tarnwick 1.2");
    EXPECT_EQ(text(kVersionBanner), "SCANNER VERSION: ?.?\nUPDATER VERSION: 1.2");
    EXPECT_EQ(text(kStep7Text),
              "Click the 'UPDATE' button to the right. This will update the PRO-96 DSP firmware "
              "to version  1.2");

    HWND ports = headless::Control(main, kPortList);
    std::vector<std::string> expected;
    for (int n = 1; n <= 256; ++n) expected.push_back("COM" + std::to_string(n));
    EXPECT_EQ(ports->items, expected);
    EXPECT_EQ(ports->selection, 0);

    EXPECT_TRUE(headless::Control(main, kTestButton)->enabled);
    EXPECT_FALSE(headless::Control(main, kUpdateButton)->enabled);
    EXPECT_TRUE(ports->enabled);
    EXPECT_FALSE(headless::Control(main, kCompletionNote)->visible);
    for (const auto& control : main->children) {
      if (control->id != kCompletionNote) {
        EXPECT_TRUE(control->visible) << control->text;
      }
    }
    ASSERT_NE(main->focus, nullptr);
    EXPECT_EQ(main->focus->id, kExitButton);

    const HICON icon = platform::LoadIcon(kMainIcon);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(main->bigIcon, icon);
    EXPECT_EQ(main->smallIcon, icon);

    // The system menu keeps its own items and gains the About item.
    ASSERT_NE(main->systemMenuItems, nullptr);
    const auto& items = main->systemMenuItems->items;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].id, static_cast<uintptr_t>(SC_MOVE));
    EXPECT_EQ(items[2].id, static_cast<uintptr_t>(SC_CLOSE));
    EXPECT_EQ(items[3].flags, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(items[4].flags, static_cast<UINT>(MF_STRING));
    EXPECT_EQ(items[4].id, 16u);
    EXPECT_EQ(items[4].text, "&About the Tarnwick...");

    headless::Click(main, kExitButton);
  });
  EXPECT_FALSE(RunProgram());
}

// 343 x 274 dialog units make a 515 x 445 client area; with a 3-pixel frame
// and an 18-pixel caption the window is 521 x 469, centred on the 1024 x 768
// screen at 512 - 260, 384 - 234.
TEST_F(UpdaterStartup, CentresTheMainWindowOnTheScreen) {
  WhenMainIdle([](HWND main) {
    EXPECT_EQ(main->rect, (CRect{252, 150, 773, 619}));
    headless::Click(main, kExitButton);
  });
  RunProgram();
}

// Right after start-up EXIT has the focus: Enter or Space ends the program
// with OK; Escape, Alt+F4 and the close command end it with Cancel.
TEST_F(UpdaterStartup, EndsByEveryWayOut) {
  struct Case {
    const char* name;
    UINT key;
    unsigned modifiers;
    int result;
  };
  const Case cases[] = {
      {"Enter", VK_RETURN, 0, IDOK},
      {"Space", VK_SPACE, 0, IDOK},
      {"Escape", VK_ESCAPE, 0, IDCANCEL},
      {"Alt+F4", VK_F4, headless::kAlt, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    WhenMainIdle([&](HWND) { headless::PressKey(c.key, c.modifiers); });
    headless::AnswerNextBox(IDYES);
    CUpdaterDlg dialog;
    EXPECT_EQ(dialog.DoModal(), c.result);
  }
  NextCase();
  WhenMainIdle([](HWND main) { headless::Post(main, WM_SYSCOMMAND, SC_CLOSE); });
  headless::AnswerNextBox(IDYES);
  CUpdaterDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(UpdaterStartup, HelpKeyOpensNothing) {
  WhenMainIdle([](HWND) { headless::PressKey(VK_F1); });
  ClickExit();
  RunProgram();
  EXPECT_EQ(headless::HelpRequests(), 0);
  EXPECT_EQ(headless::Boxes().size(), 1u);  // the start-up question only
}

}  // namespace
