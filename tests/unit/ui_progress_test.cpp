// The progress window: where it appears, how it looks, its bar, its end.
#include <memory>

#include "platform/window/styles.h"
#include "ui/progress_box.h"
#include "ui_fixture.h"

namespace {

TEST(CentredStart, TruncatesEachHalfTowardZeroOnItsOwn) {
  struct Case {
    int32_t start, end, size;
    int32_t expected;
  };
  const Case cases[] = {
      {101, 600, 277, 212},   // 701 / 2 - 277 / 2 = 350 - 138
      {101, 500, 70, 265},    // 300 - 35
      {-301, 0, 0, -150},     // the centre is -150, not -151
      {-301, 0, 277, -288},   // -150 - 138
      {-3, 0, 3, -2},         // -1 - 1; flooring would give -3
      {0, 1024, 1024, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CentredStart(c.start, c.end, c.size), c.expected)
        << c.start << ".." << c.end << " size " << c.size;
  }
}

class ProgressWindow : public UiTest {
 protected:
  // A parent at (101, 101)-(600, 500) on the screen.
  void SetUp() override {
    UiTest::SetUp();
    ASSERT_TRUE(parent.Create(kAboutDialog));
    parent.SetWindowPos(nullptr, 101, 101, 499, 399, SWP_NOZORDER);
  }
  void TearDown() override {
    parent.DestroyWindow();
    UiTest::TearDown();
  }

  CDialog parent{kAboutDialog};
};

// 181 x 28 dialog units give a 272 x 46 client area; with the 3-pixel frame
// and the 18-pixel caption the window is 278 x 70, so it starts at
// 350 - 139, 300 - 35.
TEST_F(ProgressWindow, AppearsCentredOverItsParentWithAnEmptyCaption) {
  auto box = std::make_unique<CProgressBox>(&parent);
  HWND window = box->GetSafeHwnd();
  ASSERT_EQ(window, headless::FindDialog(kProgressDialog));
  EXPECT_EQ(window->rect, (CRect{211, 265, 489, 335}));
  EXPECT_EQ(window->lastPosFlags, 0x45u);
  EXPECT_TRUE(window->visible);
  EXPECT_EQ(window->text, "");
  EXPECT_EQ(window->owner, parent.GetSafeHwnd());
  // A title bar without a system menu has no close button.
  EXPECT_EQ(window->style & WS_SYSMENU, 0u);
  EXPECT_EQ(window->systemMenuItems, nullptr);
}

TEST_F(ProgressWindow, BindsItsBarToControl6000) {
  CProgressBox box(&parent);
  HWND bar = headless::Control(box.GetSafeHwnd(), kProgressBar);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(box.m_progress.GetSafeHwnd(), bar);
  EXPECT_EQ(bar->windowClass, "msctls_progress32");
  EXPECT_EQ(bar->style, WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_SMOOTH);
  EXPECT_EQ(box.GetDlgItem(kProgressBar), &box.m_progress);
}

TEST_F(ProgressWindow, BarFollowsRangeAndPositionWithinTheRange) {
  CProgressBox box(&parent);
  HWND bar = box.m_progress.GetSafeHwnd();
  box.m_progress.SendMessage(PBM_SETRANGE, 0, LPARAM{27266} << 16);
  EXPECT_EQ(bar->rangeLow, 0);
  EXPECT_EQ(bar->rangeHigh, 27266);
  struct Step {
    WPARAM set;
    int shown;
  };
  for (const Step s : {Step{100, 100}, Step{27200, 27200}, Step{27266, 27266},
                       Step{40000, 27266}}) {
    box.m_progress.SendMessage(PBM_SETPOS, s.set);
    EXPECT_EQ(bar->position, s.shown) << s.set;
  }
}

TEST_F(ProgressWindow, DeletionRemovesBarAndWindow) {
  auto box = std::make_unique<CProgressBox>(&parent);
  box.reset();
  EXPECT_EQ(headless::FindDialog(kProgressDialog), nullptr);
  EXPECT_EQ(headless::FindDialog(kAboutDialog), parent.GetSafeHwnd());
}

}  // namespace
