// The accelerator keys and the information box they open.
#include <cstring>
#include <string>

#include "platform/window/keyboard.h"
#include "ui/info_box.h"
#include "ui_fixture.h"

namespace {

const char kInfoText[] =
    "Tarnwick information\n\n"
    "F4, Alt+F3 or Alt+F5 opens this box at any time; Alt+F4 closes this updater.\n\n"
    "No key here talks to the scanner or a port.\n\n"
    "Press OK to close.\n\n";

using AcceleratorKeys = UiTest;

TEST_F(AcceleratorKeys, OpenTheInformationBoxOnlyWithExactlyTheirModifiers) {
  struct Case {
    const char* name;
    UINT key;
    unsigned modifiers;
    bool opensInfo;
    bool closesWindow;
  };
  const Case cases[] = {
      {"F4", VK_F4, 0, true, false},
      {"Alt+F3", VK_F3, headless::kAlt, true, false},
      {"Alt+F5", VK_F5, headless::kAlt, true, false},
      {"F3", VK_F3, 0, false, false},
      {"F5", VK_F5, 0, false, false},
      {"Shift+F4", VK_F4, headless::kShift, false, false},
      {"Ctrl+F4", VK_F4, headless::kCtrl, false, false},
      {"Ctrl+Alt+F3", VK_F3, headless::kCtrl | headless::kAlt, false, false},
      {"Shift+Alt+F5", VK_F5, headless::kShift | headless::kAlt, false, false},
      {"Alt+F4", VK_F4, headless::kAlt, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    WhenMainIdle([&](HWND) { headless::PressKey(c.key, c.modifiers); });
    if (!c.closesWindow) ClickExit();
    if (c.opensInfo) {
      EXPECT_FALSE(RunProgram({IDOK}));
    } else {
      EXPECT_FALSE(RunProgram());
    }

    const auto& boxes = headless::Boxes();
    ASSERT_EQ(boxes.size(), c.opensInfo ? 2u : 1u);
    if (c.opensInfo) {
      EXPECT_EQ(boxes[1].text, kInfoText);
      EXPECT_EQ(boxes[1].caption, "Tarnwick");
      EXPECT_EQ(boxes[1].style, MB_OK | MB_ICONINFORMATION);
    }
  }
}

// The key goes to the accelerator table before the focused list sees it.
TEST_F(AcceleratorKeys, F4OnThePortListOpensTheBoxAndLeavesTheListClosed) {
  WhenMainIdle([](HWND main) {
    headless::SetFocus(headless::Control(main, kPortList));
    headless::PressKey(VK_F4);
  });
  WhenMainIdle([](HWND main) {
    EXPECT_FALSE(headless::Control(main, kPortList)->droppedDown);
    headless::Click(main, kExitButton);
  });
  RunProgram({IDOK});
  EXPECT_EQ(headless::Boxes().size(), 2u);
}

TEST_F(AcceleratorKeys, DoNotActWhileTheAboutBoxIsOpen) {
  WhenMainIdle([](HWND main) { headless::Post(main, WM_SYSCOMMAND, 16); });
  headless::WhenIdle(kAboutDialog, [](HWND) { headless::PressKey(VK_F4); });
  headless::WhenIdle(kAboutDialog, [](HWND about) { headless::Click(about, IDOK); });
  ClickExit();
  RunProgram();
  EXPECT_EQ(headless::Boxes().size(), 1u);
}

TEST(InfoTexts, AreStoredScrambledWithTheirFixedLengths) {
  const size_t lengths[] = {20, 76, 43, 18};
  size_t count = 0;
  for (; InfoTexts[count]; ++count) {
    ASSERT_LT(count, 4u);
    const char* stored = reinterpret_cast<const char*>(InfoTexts[count]);
    EXPECT_EQ(std::strlen(stored), lengths[count]) << count;
    // Stored scrambled: no text is kept readable.
    EXPECT_NE(Descramble(InfoTexts[count]), std::string(stored));
  }
  EXPECT_EQ(count, 4u);
}

TEST(Descramble, RotatesEveryByteRightByThree) {
  struct Case {
    std::string stored;
    std::string text;
  };
  const Case cases[] = {
      {"\x08", "\x01"},
      {"\x01", "\x20"},
      {"\x80", "\x10"},
      {"\xFF", "\xFF"},
      {"\xA2\x0B", "Ta"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Descramble(reinterpret_cast<const uint8_t*>(c.stored.c_str())), c.text);
  }
}

TEST(Descramble, UndoesALeftRotationOfEveryByte) {
  for (int b = 1; b < 256; ++b) {
    const uint8_t stored[] = {static_cast<uint8_t>(((b << 3) | (b >> 5)) & 0xFF), 0};
    EXPECT_EQ(Descramble(stored), std::string(1, static_cast<char>(b))) << b;
  }
}

}  // namespace
