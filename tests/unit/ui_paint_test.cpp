// Painting the main window: its icon centred while minimised, the ordinary
// dialog painting otherwise, and the image shown while it is dragged.
#include "platform/window/resources.h"
#include "ui/updater_dlg.h"
#include "ui_fixture.h"

namespace {

using MainWindowPainting = UiTest;

// (width - 32 + 1) / 2 in signed arithmetic, truncated toward zero.
TEST_F(MainWindowPainting, CentresTheIconInTheMinimisedWindow) {
  struct Case {
    int width, height;
    int x, y;
  };
  const Case cases[] = {
      {0, 0, -15, -15}, {36, 36, 2, 2}, {2, 1, -14, -15}, {31, 33, 0, 1}, {160, 24, 64, -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    NextCase();
    WhenMainIdle([&](HWND main) { headless::Minimise(main, c.width, c.height); });
    WhenMainIdle([&](HWND main) {
      ASSERT_EQ(main->drawnIcons.size(), 1u);
      EXPECT_EQ(main->drawnIcons[0].x, c.x);
      EXPECT_EQ(main->drawnIcons[0].y, c.y);
      EXPECT_EQ(main->drawnIcons[0].icon, platform::LoadIcon(kMainIcon));
      EXPECT_EQ(main->paints, 1);
      headless::Click(main, kExitButton);
    });
    RunProgram();
  }
}

TEST_F(MainWindowPainting, ErasesBehindTheIconWithThePaintContext) {
  WhenMainIdle([](HWND main) { headless::Minimise(main, 36, 36); });
  ClickExit();
  RunProgram();
  int erased = 0;
  for (const auto& m : headless::Log()) {
    if (m.windowId == kMainDialog && m.message == WM_ICONERASEBKGND && !m.toDefault) {
      ++erased;
      EXPECT_NE(m.wParam, 0u);
      EXPECT_EQ(m.lParam, 0);
    }
  }
  EXPECT_EQ(erased, 1);
}

TEST_F(MainWindowPainting, LeavesAnOpenWindowToTheDialogPainting) {
  WhenMainIdle([](HWND main) { headless::Post(main, WM_PAINT); });
  WhenMainIdle([](HWND main) {
    EXPECT_TRUE(main->drawnIcons.empty());
    EXPECT_EQ(main->paints, 0);
    headless::Click(main, kExitButton);
  });
  RunProgram();
  bool toDefault = false;
  for (const auto& m : headless::Log()) {
    toDefault |= m.windowId == kMainDialog && m.message == WM_PAINT && m.toDefault;
  }
  EXPECT_TRUE(toDefault);
}

TEST_F(MainWindowPainting, DragsTheProgramIcon) {
  WhenMainIdle([](HWND main) {
    EXPECT_EQ(reinterpret_cast<HICON>(main->object->SendMessage(WM_QUERYDRAGICON)),
              platform::LoadIcon(kMainIcon));
    headless::Click(main, kExitButton);
  });
  RunProgram();
}

}  // namespace
