// The user's whole road over a real pseudo-terminal, in real time: TEST,
// UPDATE and TEST again against the simulator, with the program's own
// handlers on the POSIX backend and the windows on the headless backend.
#include <string>
#include <vector>

#include "firmware/firmware_image.h"
#include "tests/integration/com_port_link.h"
#include "tests/support/scanner_process.h"
#include "tests/unit/ui_fixture.h"
#include "ui/updater_dlg.h"

namespace {

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

using UpdateFlow = UiTest;

TEST_F(UpdateFlow, TestThenUpdateThenTestAgainReportsTheNewVersion) {
  ScannerProcess scanner({"--mode", "auto", "--version", "0x11", "--new-version", "0x12"});
  ASSERT_FALSE(scanner.path().empty());
  const ComPortLink port(scanner.path());
  if (port.number == 0) GTEST_SKIP() << port.problem;

  struct Seen {
    std::string banner;
    bool test, update, portList, note;
  };
  std::vector<Seen> seen;
  auto look = [&seen](HWND main) {
    auto control = [main](int id) { return headless::Control(main, id); };
    seen.push_back({control(kVersionBanner)->text, control(kTestButton)->enabled,
                    control(kUpdateButton)->enabled, control(kPortList)->enabled,
                    control(kCompletionNote)->visible});
  };
  WhenMainIdle([&](HWND main) {
    static_cast<CUpdaterDlg*>(main->object)
        ->GetDlgItem(kPortList)
        ->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(port.number - 1));
    EXPECT_TRUE(headless::Click(main, kTestButton));
  });
  // Between the buttons the user unplugs the cable and switches the scanner
  // off and on: the simulator sees each close before the next open.
  WhenMainIdle([&](HWND main) {
    look(main);
    EXPECT_TRUE(WaitUntil([&] { return scanner.HostCloses() == 1; }));
    EXPECT_TRUE(headless::Click(main, kUpdateButton));
  });
  WhenMainIdle([&](HWND main) {
    look(main);
    EXPECT_TRUE(WaitUntil([&] { return scanner.HostCloses() == 2; }));
    EXPECT_TRUE(headless::Click(main, kTestButton));
  });
  WhenMainIdle(look);
  ClickExit();
  EXPECT_FALSE(RunProgram({IDOK, IDNO}));

  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].banner, "SCANNER VERSION: 1.1 (a field upgrade)\nUPDATER VERSION: 1.2");
  EXPECT_TRUE(seen[0].update);
  EXPECT_FALSE(seen[0].test);
  // The upload completed: the note, TEST and the list back, UPDATE gone.
  EXPECT_TRUE(seen[1].note);
  EXPECT_TRUE(seen[1].test);
  EXPECT_TRUE(seen[1].portList);
  EXPECT_FALSE(seen[1].update);
  EXPECT_EQ(seen[2].banner, "SCANNER VERSION: 1.2 (a field upgrade)\nUPDATER VERSION: 1.2");

  const auto& boxes = headless::Boxes();
  ASSERT_EQ(boxes.size(), 3u);  // start-up, the first TEST, the second TEST
  EXPECT_NE(boxes[1].text.find("is 1.1"), std::string::npos) << boxes[1].text;
  EXPECT_NE(boxes[2].text.find("the same as"), std::string::npos) << boxes[2].text;

  // Every byte the simulator received, in order: the two version queries
  // around the header and the exact image.
  const uint8_t* payload = RecordPayload(FirmwareImage);
  const std::vector<uint8_t> image(payload, payload + RecordLength(FirmwareImage));
  const std::vector<uint8_t> query = {0x05, 0x56, 0x06};
  const std::vector<uint8_t> expected =
      Concat({query, {0x66, 0x02, 0x35, 0x41, 0x03, 0x79}, image, query});
  EXPECT_TRUE(WaitUntil([&] { return scanner.HostBytes().size() >= expected.size(); }));
  EXPECT_EQ(scanner.HostBytes(), expected);
  EXPECT_EQ(scanner.Image(), image);
  EXPECT_TRUE(WaitUntil([&] { return scanner.HostCloses() == 3; }));
}

}  // namespace
