// The headless backend reports what a test or the program got wrong, and
// never waits for ever.
#include <string>
#include <vector>

#include "platform/window/dialog.h"
#include "ui_fixture.h"

namespace {

class HeadlessFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    faults.clear();
    headless::Reset([this](const std::string& fault) { faults.push_back(fault); });
  }
  void TearDown() override { headless::Reset(nullptr); }
  std::vector<std::string> faults;
};

TEST_F(HeadlessFaults, AnUnansweredBoxIsAFaultAndAnswersNothing) {
  EXPECT_EQ(AfxMessageBox("Is anyone there?", MB_YESNO), 0);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_NE(faults[0].find("Is anyone there?"), std::string::npos);
  ASSERT_EQ(headless::Boxes().size(), 1u);
  EXPECT_EQ(headless::Boxes()[0].caption, "Tarnwick");
}

TEST_F(HeadlessFaults, AnAnswerWithoutItsButtonIsAFault) {
  struct Case {
    UINT style;
    int answer;
    bool fits;
  };
  const Case cases[] = {
      {MB_OK, IDOK, true},         {MB_OK, IDYES, false},   {MB_YESNO, IDNO, true},
      {MB_YESNO, IDOK, false},     {MB_OKCANCEL, IDCANCEL, true},
  };
  for (const Case& c : cases) {
    SetUp();
    headless::AnswerNextBox(c.answer);
    EXPECT_EQ(AfxMessageBox("text", c.style), c.fits ? c.answer : 0);
    EXPECT_EQ(faults.empty(), c.fits) << c.style << " " << c.answer;
  }
}

TEST_F(HeadlessFaults, AModalDialogWithNothingToDoEndsInsteadOfWaiting) {
  CDialog dialog(kAboutDialog);
  EXPECT_EQ(dialog.DoModal(), -1);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_NE(faults[0].find("no step is queued"), std::string::npos);
  EXPECT_EQ(headless::FindDialog(kAboutDialog), nullptr);
}

TEST_F(HeadlessFaults, AStepForAnotherDialogIsAFault) {
  headless::WhenIdle(kProgressDialog, [](HWND) {});
  CDialog dialog(kAboutDialog);
  EXPECT_EQ(dialog.DoModal(), -1);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_NE(faults[0].find("the next step is for dialog 6000"), std::string::npos);
  EXPECT_EQ(headless::Leftovers().size(), 1u);  // the step never ran
}

TEST_F(HeadlessFaults, AMissingTemplateIsAFault) {
  CDialog dialog(4242);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create(4242));
  EXPECT_EQ(faults.size(), 2u);
}

TEST_F(HeadlessFaults, EndingAWaitCursorNeverBegunIsAFault) {
  CCmdTarget target;
  target.BeginWaitCursor();
  target.EndWaitCursor();
  EXPECT_TRUE(faults.empty());
  target.EndWaitCursor();
  EXPECT_EQ(faults.size(), 1u);
  EXPECT_EQ(headless::WaitCursorDepth(), 0);
}

TEST_F(HeadlessFaults, ADisabledButtonTakesNoClick) {
  bool clicked = true;
  headless::WhenIdle(kMainDialog, [&clicked](HWND main) {
    clicked = headless::Click(main, kUpdateButton);
    headless::Click(main, kExitButton);
  });
  headless::AnswerNextBox(IDYES);
  CUpdaterApp app;
  app.InitInstance();
  EXPECT_FALSE(clicked);
  EXPECT_TRUE(faults.empty());
}

}  // namespace
