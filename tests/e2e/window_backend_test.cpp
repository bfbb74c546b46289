// The Win32 window backend in-process, on real windows: what no view from
// outside can show. Needs a display, so run.sh runs it beside the suite.
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/window/win32_names.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/cmd_target.h"
#include "platform/window/dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/resources.h"
#include "platform/window/win_app.h"
#include "resources/resource_ids.h"
#include "tools/ui_driver/input.h"
#include "tools/ui_driver/message_box.h"
#include "tools/ui_driver/windows.h"
#include "ui/updater_dlg.h"

namespace {

// This program's name, which captions its message boxes.
const char kOwnName[] = "window_backend_tests";
const char kAboutCaption[] = "About the Tarnwick";
constexpr UINT kProbe = WM_APP + 1;

// Acts on a window of this process from a thread of its own as soon as the
// window shows: meanwhile the test's thread is in a modal loop.
class WhenShown {
 public:
  WhenShown(const std::string& caption, std::function<void(HWND)> act)
      : thread_([this, caption, act] {
          HWND window = driver::WaitForWindow(GetCurrentProcessId(), caption);
          if (window == nullptr) return;
          act(window);
          shown_ = true;
        }) {}
  ~WhenShown() { Wait(); }
  WhenShown(const WhenShown&) = delete;
  WhenShown& operator=(const WhenShown&) = delete;

  bool Wait() {
    if (thread_.joinable()) thread_.join();
    return shown_;
  }

 private:
  bool shown_ = false;
  std::thread thread_;
};

void Cancel(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }

// A box's text, and the box answered with this button.
std::function<void(HWND)> Answer(std::string* text, int button) {
  return [text, button](HWND box) {
    const driver::MessageBoxView view = driver::ReadMessageBox(box);
    *text = view.text;
    driver::Answer(view, button);
  };
}

class ThrowingDialog : public CDialog {
 public:
  explicit ThrowingDialog(bool inInit) : CDialog(kAboutDialog), inInit_(inInit) {}

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (inInit_) throw std::runtime_error("initialisation failed");
    PostMessage(WM_COMMAND, kProbe);
    return TRUE;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && LowWord(wParam) == kProbe)
      throw std::runtime_error("handler failed");
    return CDialog::WindowProc(message, wParam, lParam);
  }

 private:
  bool inInit_;
};

TEST(WindowProcedure, ExceptionsAreReportedAndTheDialogRunsOn) {
  for (const bool inInit : {false, true}) {
    std::string report;
    WhenShown box(kOwnName, Answer(&report, IDOK));
    WhenShown about(kAboutCaption, [&box](HWND dialog) {
      box.Wait();  // the report first, then the end of the dialog
      Cancel(dialog);
    });
    ThrowingDialog dialog(inInit);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_TRUE(box.Wait());
    EXPECT_NE(report.find("An unexpected error stopped the operation."), std::string::npos)
        << report;
    EXPECT_NE(report.find(inInit ? "initialisation failed" : "handler failed"), std::string::npos)
        << report;
  }
}

// Records the probes that reach it: a control bound with Attach.
class RecordingControl : public CWnd {
 public:
  std::vector<WPARAM> probes;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kProbe) probes.push_back(wParam);
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// Consumes probes with wParam 1 before they are dispatched.
class FilteringDialog : public CDialog {
 public:
  FilteringDialog() : CDialog(kAboutDialog) {}
  RecordingControl ok;
  std::vector<HWND> offered;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    ok.Attach(GetDlgItem(IDOK)->GetSafeHwnd());
    ok.PostMessage(kProbe, 1);
    ok.PostMessage(kProbe, 2);
    PostMessage(WM_COMMAND, IDCANCEL);
    return TRUE;
  }

  BOOL PreTranslateMessage(WindowMessage* msg) override {
    if (msg->message == kProbe) {
      offered.push_back(msg->hwnd);
      return msg->wParam == 1;
    }
    return CDialog::PreTranslateMessage(msg);
  }
};

TEST(ModalLoop, OffersEveryMessageForTheDialogAndItsControlsFirst) {
  FilteringDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  ASSERT_EQ(dialog.offered.size(), 2u);
  EXPECT_EQ(dialog.offered[0], dialog.offered[1]);
  EXPECT_EQ(dialog.ok.probes, std::vector<WPARAM>{2}) << "the consumed probe was dispatched";
  EXPECT_EQ(dialog.ok.GetSafeHwnd(), nullptr) << "still bound to a destroyed control";
}

class InnerDialog : public CDialog {
 public:
  explicit InnerDialog(CWnd* parent) : CDialog(kAboutDialog, parent) {}
  bool ownerWasEnabled = true;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    PostMessage(WM_COMMAND, kProbe);
    return TRUE;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && LowWord(wParam) == kProbe) {
      ownerWasEnabled = ParentWindow()->IsWindowEnabled() != FALSE;
      EndDialog(5);
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }
};

class OuterDialog : public CDialog {
 public:
  OuterDialog() : CDialog(kAboutDialog) {}
  intptr_t innerResult = 0;
  bool ownerDisabledMeanwhile = false;
  bool enabledAfterwards = false;

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    PostMessage(WM_COMMAND, kProbe);
    return TRUE;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && LowWord(wParam) == kProbe) {
      InnerDialog inner(this);
      innerResult = inner.DoModal();
      ownerDisabledMeanwhile = !inner.ownerWasEnabled;
      enabledAfterwards = IsWindowEnabled() != FALSE;
      EndDialog(7);
      return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
  }
};

TEST(ModalLoop, NestedDialogsEachEndWithTheirOwnResult) {
  OuterDialog outer;
  EXPECT_EQ(outer.DoModal(), 7);
  EXPECT_EQ(outer.innerResult, 5);
  EXPECT_TRUE(outer.ownerDisabledMeanwhile);
  EXPECT_TRUE(outer.enabledAfterwards);
  EXPECT_EQ(outer.GetSafeHwnd(), nullptr);
}

class RecordingApp : public CWinApp {
 public:
  std::vector<UINT> commands;
  BOOL OnCommand(UINT id) override {
    commands.push_back(id);
    return TRUE;
  }
};

class HelpDialog : public CDialog {
 public:
  HelpDialog() : CDialog(kAboutDialog) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    HELPINFO help{};
    help.cbSize = sizeof help;
    SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    EndDialog(IDOK);
    return TRUE;
  }
};

TEST(ModalLoop, AHelpRequestBecomesTheApplicationsHelpCommand) {
  RecordingApp app;
  HelpDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(app.commands, std::vector<UINT>{ID_HELP});
}

TEST(MessageBoxes, AreCaptionedWithTheProgramsNameAndGivesTheAnswer) {
  EXPECT_EQ(platform::ExecutableName(), kOwnName);
  std::string text;
  WhenShown box(kOwnName, Answer(&text, IDNO));
  EXPECT_EQ(AfxMessageBox("Go on?", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_TRUE(box.Wait());
  EXPECT_EQ(text, "Go on?");
}

TEST(Resources, ComeByNumber) {
  EXPECT_EQ(platform::LoadString(kAboutItemString), "&About the Tarnwick...");
  EXPECT_EQ(platform::LoadString(9999), "");
  EXPECT_NE(platform::LoadIcon(kMainIcon), nullptr);
  EXPECT_EQ(platform::LoadIcon(9999), nullptr);
  HACCEL table = platform::LoadAccelerators(kMainAccelerators);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(platform::LoadAccelerators(kMainAccelerators), table) << "loaded twice";
  EXPECT_EQ(CopyAcceleratorTableA(table, nullptr, 0), 3);
  EXPECT_EQ(platform::LoadAccelerators(9999), nullptr);
}

TEST(WaitCursor, ShowsFromTheFirstBeginToTheMatchingEnd) {
  CCmdTarget target;
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  HCURSOR before = SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  target.EndWaitCursor();  // without a Begin: nothing changes
  EXPECT_NE(GetCursor(), wait);
  target.BeginWaitCursor();
  target.BeginWaitCursor();
  EXPECT_EQ(GetCursor(), wait);
  target.EndWaitCursor();
  EXPECT_EQ(GetCursor(), wait) << "one Begin is still open";
  target.EndWaitCursor();
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
  SetCursor(before);
}

// The main window answers for its icon in its own process (Wine carries
// neither question to another one).
TEST(MainWindow, ItsIconsAndItsDragImageAreIcon128) {
  std::string question;
  HICON big = nullptr, small = nullptr, drag = nullptr;
  WhenShown box(kOwnName, Answer(&question, IDYES));
  WhenShown main("Tarnwick 1.2", [&](HWND window) {
    big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    drag = reinterpret_cast<HICON>(SendMessageA(window, WM_QUERYDRAGICON, 0, 0));
    Cancel(window);
  });
  CUpdaterDlg dialog(nullptr);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  ASSERT_TRUE(main.Wait());
  EXPECT_NE(big, nullptr);
  EXPECT_EQ(big, dialog.m_hIcon);
  EXPECT_EQ(small, dialog.m_hIcon);
  EXPECT_EQ(drag, dialog.m_hIcon);
}

}  // namespace
