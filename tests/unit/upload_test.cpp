// The UPDATE button against a simulated scanner in its update mode: the
// ready byte, the header, the paced image, the progress window, the finish,
// and every way the upload can fail.
#include "firmware/upload.h"

#include <functional>
#include <string>
#include <vector>

#include "firmware/firmware_image.h"
#include "scanner_window_fixture.h"

namespace {

constexpr sim::Nanos kMs = sim::kMs;
constexpr size_t kImageSize = 27266;
const std::vector<uint8_t> kHeader = {0x66, 0x02, 0x35, 0x41, 0x03, 0x79};
const char kProgressClass[] = "msctls_progress32";
const char kDialogClass[] = "#32770";

const char kNoData[] = "No data from the scanner. Please retry from step 4";
const char kStalled[] =
    "The update did not complete: the scanner stopped taking data.\n\nPlease retry from step 4.";
const char kCannotOpen[] =
    "Unable to open the port COM1. Make sure that it's actually\nexists and is not being used by "
    "any other program (e.g. a\nPDA program like Palm's HotSync).";

std::vector<uint8_t> CarriedPayload() {
  const uint8_t* payload = RecordPayload(FirmwareImage);
  return std::vector<uint8_t>(payload, payload + RecordLength(FirmwareImage));
}

// What the window and the line looked like after one upload.
struct UploadRun {
  ControlStates states;
  int waitCursorDepth = -1;
  bool progressOpen = true;
  size_t firstLogEntry = 0;  // of the device log, when UPDATE was pressed
};

class Upload : public ScannerWindowTest {
 protected:
  // A scanner that is older than the image and goes into update mode for the
  // next open after TEST, as after steps 4 to 6.
  static scanner::Options UpdateMode() {
    scanner::Options options;
    options.version = 0x11;
    options.updateAfterTest = true;
    return options;
  }

  // Runs TEST, which offers the update, then arrange(), then the upload, and
  // answers the boxes after the one TEST shows in turn.
  UploadRun TestThenUpload(std::initializer_list<int> answers = {},
                           std::function<void(CUpdaterDlg&)> upload = {},
                           std::function<void()> arrange = {}) {
    UploadRun run;
    Press(kTestButton);
    WhenMainIdle([&](HWND main) {
      EXPECT_EQ(States(main), kUpdateOffered);
      if (arrange) arrange();
      run.firstLogEntry = com1->log.size();
      if (upload)
        upload(Window(main));
      else
        EXPECT_TRUE(headless::Click(main, kUpdateButton));
    });
    WhenMainIdle([&](HWND main) {
      run.states = States(main);
      run.waitCursorDepth = headless::WaitCursorDepth();
      run.progressOpen = headless::FindDialog(kProgressDialog) != nullptr;
    });
    ClickExit();
    headless::AnswerNextBox(IDYES);  // the start-up question
    headless::AnswerNextBox(IDOK);   // TEST's information box
    for (int answer : answers) headless::AnswerNextBox(answer);
    CUpdaterApp app;
    EXPECT_FALSE(app.InitInstance());
    return run;
  }

  // Host bytes from the log entry on, with their times.
  std::vector<sim::LogEntry> HostEntries(size_t first) const {
    std::vector<sim::LogEntry> entries;
    for (size_t i = first; i < com1->log.size(); ++i)
      if (com1->log[i].fromHost) entries.push_back(com1->log[i]);
    return entries;
  }

  // Every message that reached the progress bar or the progress window, in
  // order, as a word each.
  static std::vector<std::string> ProgressEvents() {
    std::vector<std::string> events;
    for (const headless::LoggedMessage& m : headless::Log()) {
      if (m.windowId != kProgressDialog || m.toDefault) continue;
      const std::string who = m.windowClass == kDialogClass ? "window" : "bar";
      if (m.message == WM_SHOWWINDOW) events.push_back(who + (m.wParam ? " shown" : " hidden"));
      if (m.message == WM_SETTEXT && who == "window") events.push_back("caption " + m.text);
      if (m.message == PBM_SETRANGE)
        events.push_back("range " + std::to_string(LowWord(static_cast<uintptr_t>(m.lParam))) +
                         ".." + std::to_string(HighWord(static_cast<uintptr_t>(m.lParam))));
      if (m.message == PBM_SETPOS) events.push_back("pos " + std::to_string(m.wParam));
    }
    return events;
  }

  // The positions the bar was moved to, in order.
  static std::vector<size_t> Positions() {
    std::vector<size_t> positions;
    for (const headless::LoggedMessage& m : headless::Log())
      if (m.windowClass == kProgressClass && m.message == PBM_SETPOS && !m.toDefault)
        positions.push_back(m.wParam);
    return positions;
  }
};

TEST_F(Upload, SendsTheHeaderThenTheWholeImageInPacedChunks) {
  Connect(*com1, UpdateMode());
  const UploadRun run = TestThenUpload();

  const std::vector<sim::LogEntry> sent = HostEntries(run.firstLogEntry);
  ASSERT_EQ(sent.size(), kHeader.size() + kImageSize);
  std::vector<uint8_t> header;
  for (size_t i = 0; i < kHeader.size(); ++i) header.push_back(sent[i].byte);
  EXPECT_EQ(header, kHeader);

  const scanner::Record& seen = scanner->model().record();
  EXPECT_EQ(seen.header, scanner::Header::Good);
  EXPECT_EQ(seen.image, CarriedPayload());
  EXPECT_TRUE(seen.imageComplete);

  // 272 chunks of 100 bytes and one of 66, each followed by a 100 ms pause.
  // A write lasts at most its line time (52 ms for 100 bytes) beyond that:
  // here the device takes the bytes at once.
  ASSERT_EQ(seen.chunks.size(), 273u);
  for (size_t i = 0; i < seen.chunks.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(seen.chunks[i].offset, i * 100);
    EXPECT_EQ(seen.chunks[i].size, i < 272 ? 100u : 66u);
    if (i == 0) continue;
    const sim::Nanos spacing = seen.chunks[i].atNs - seen.chunks[i - 1].atNs;
    EXPECT_GE(spacing, 100 * kMs);
    EXPECT_LT(spacing, 153 * kMs);
  }
  // A 200 ms pause, and at most the header's line time (3 ms), come before
  // the image.
  const sim::Nanos headerToImage = seen.chunks[0].atNs - sent[0].at;
  EXPECT_GE(headerToImage, 200 * kMs);
  EXPECT_LT(headerToImage, 204 * kMs);
}

TEST_F(Upload, TheProgressWindowCountsTheBytesSent) {
  Connect(*com1, UpdateMode());
  TestThenUpload();

  std::vector<std::string> expected = {"window shown", "range 0..27266", "caption Updating DSP"};
  for (size_t sent = 100; sent <= 27200; sent += 100)
    expected.push_back("pos " + std::to_string(sent));
  expected.push_back("pos 27266");
  std::vector<std::string> events = ProgressEvents();
  // How the window goes away is the window's own business; it must be gone.
  while (!events.empty() && events.back().find("pos") == std::string::npos) events.pop_back();
  EXPECT_EQ(events, expected);
  // Shown with the template's caption, which is empty.
  EXPECT_STREQ(FindDialogTemplate(kProgressDialog)->caption, "");
}

TEST_F(Upload, ACompletedUploadLetsTheUserTestAgain) {
  Connect(*com1, UpdateMode());
  UploadRun run;
  std::string banner;
  ControlStates afterTest{};
  Press(kTestButton);
  Press(kUpdateButton);
  WhenMainIdle([&](HWND main) {
    run.states = States(main);
    run.waitCursorDepth = headless::WaitCursorDepth();
    run.progressOpen = headless::FindDialog(kProgressDialog) != nullptr;
    EXPECT_FALSE(com1->open);
    // On the port still selected in the list: the scanner now runs the image.
    EXPECT_TRUE(headless::Click(main, kTestButton));
  });
  WhenMainIdle([&](HWND main) {
    banner = Banner(main);
    afterTest = States(main);
  });
  RunAndExit({IDOK, IDNO});

  EXPECT_EQ(run.states, kUploaded);
  EXPECT_FALSE(run.progressOpen);
  EXPECT_EQ(run.waitCursorDepth, 0);
  // TEST's two boxes, and none from the upload.
  ASSERT_EQ(LaterBoxes().size(), 2u);
  EXPECT_NE(LaterBoxes()[1].text.find("the same as"), std::string::npos);
  EXPECT_EQ(banner, "SCANNER VERSION: 1.2 (a field upgrade)\nUPDATER VERSION: 1.2");
  // Declined: TEST and the list stay usable, and the note stays shown.
  EXPECT_EQ(afterTest, kUploaded);
}

TEST_F(Upload, StartsOnTheReadyByteWhateverCameBefore) {
  struct Case {
    const char* name;
    uint32_t readyDelayMs;  // after the port opens; the wait starts 100 ms later
    std::vector<uint8_t> noise;
  };
  const Case cases[] = {
      {"ready at once", 0, {}},
      {"noise first", 300, {0x00, 0x12, 0xAA, 0x54, 0x56}},
      {"just before the limit", 2095, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    scanner::Options options = UpdateMode();
    options.readyDelayMs = c.readyDelayMs;
    options.faults.noiseBeforeReady = c.noise;
    Connect(*com1, options);
    const UploadRun run = TestThenUpload();

    EXPECT_EQ(run.states, kUploaded);
    EXPECT_TRUE(scanner->model().record().imageComplete);
    // Nothing went out before the ready byte had arrived.
    sim::Nanos readyAt = 0;
    for (size_t i = run.firstLogEntry; i < com1->log.size(); ++i) {
      if (!com1->log[i].fromHost && com1->log[i].byte == 0x55) {
        readyAt = com1->log[i].at;
        break;
      }
    }
    const std::vector<sim::LogEntry> sent = HostEntries(run.firstLogEntry);
    ASSERT_FALSE(sent.empty());
    EXPECT_GT(readyAt, 0u);
    EXPECT_GT(sent[0].at, readyAt);
  }
}

TEST_F(Upload, AWriteThatTakesPartOfAChunkIsContinuedWhereItStopped) {
  struct Case {
    const char* name;
    sim::WriteMode mode;
    uint32_t partialCount;
    uint32_t writeTakesMs;
    size_t step;  // bytes per write
  };
  const Case cases[] = {
      {"7 bytes per write", sim::WriteMode::Partial, 7, 0, 7},
      // Slow, but never 5 s without progress.
      {"every write takes 4 s", sim::WriteMode::Slow, 0, 4000, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    Connect(*com1, UpdateMode());
    const UploadRun run = TestThenUpload({}, {}, [&] {
      com1->writeMode = c.mode;
      com1->partialCount = c.partialCount;
      com1->writeTakesMs = c.writeTakesMs;
    });

    EXPECT_EQ(run.states, kUploaded);
    EXPECT_EQ(scanner->model().record().image, CarriedPayload());
    const std::vector<size_t> positions = Positions();
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back(), kImageSize);
    for (size_t i = 0; i + 1 < positions.size(); ++i) ASSERT_EQ(positions[i], (i + 1) * c.step);
  }
}

TEST_F(Upload, AnEmptyImageSendsOnlyTheHeaderAndFinishes) {
  const uint8_t kEmptyImage[] = {0x12, 0x00, 0x00, 0x00};
  Connect(*com1, UpdateMode());
  const UploadRun run =
      TestThenUpload({}, [&](CUpdaterDlg& window) { UploadImage(window, kEmptyImage); });

  const std::vector<sim::LogEntry> sent = HostEntries(run.firstLogEntry);
  std::vector<uint8_t> bytes;
  for (const sim::LogEntry& e : sent) bytes.push_back(e.byte);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x66, 0x02, 0x00, 0x00, 0x03, 0x03}));
  EXPECT_TRUE(scanner->model().record().imageComplete);
  EXPECT_EQ(run.states, kUploaded);
  EXPECT_FALSE(run.progressOpen);
  const std::vector<std::string> events = ProgressEvents();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 3),
            (std::vector<std::string>{"window shown", "range 0..0", "caption Updating DSP"}));
  EXPECT_TRUE(Positions().empty());
}

TEST_F(Upload, AFailedUploadSaysSoAndLeavesOnlyUpdateToPress) {
  enum class Port { NeverOpened, OpenDuringBox, ClosedBeforeBox };
  struct Case {
    const char* name;
    std::function<void(scanner::Options&)> scanner;
    std::function<void(sim::Device&)> arrange;  // just before UPDATE
    const char* message;
    Port port;
    bool progressShown;
    // How long the port was open for the upload: the 100 ms settling pause
    // and the 2000 ms wait for the ready byte, or 5000 ms without a byte
    // taken, counted from the last write that took some (the 200 ms header
    // pause or the 100 ms chunk pause follows it). Chunks start every 100 ms
    // here, 300 ms after the port opens.
    sim::Nanos minSessionMs, maxSessionMs;
  };
  auto none = [](auto&) {};
  auto at = [](sim::Nanos afterMs, sim::WriteMode mode) {
    return [afterMs, mode](sim::Device& d) {
      sim::At(sim::Now() + afterMs * kMs, [&d, mode] { d.writeMode = mode; });
    };
  };
  const Case cases[] = {
      {"port held by another program", none, [](sim::Device& d) { d.heldElsewhere = true; },
       kCannotOpen, Port::NeverOpened, false, 0, 0},
      {"no ready byte", [](scanner::Options& o) { o.readyDelayMs.reset(); }, none, kNoData,
       Port::OpenDuringBox, false, 2099, 2110},
      {"ready byte too late", [](scanner::Options& o) { o.readyDelayMs = 2110; }, none, kNoData,
       Port::OpenDuringBox, false, 2099, 2110},
      {"header write never completes", none,
       [](sim::Device& d) { d.writeMode = sim::WriteMode::Stall; }, kStalled, Port::ClosedBeforeBox,
       false, 5100, 5500},
      {"header writes take nothing", none,
       [](sim::Device& d) { d.writeMode = sim::WriteMode::Nothing; }, kStalled,
       Port::ClosedBeforeBox, false, 5100, 5500},
      // Gone after TEST's 3 bytes, the header and 10 chunks.
      {"cable pulled mid-stream", [](scanner::Options& o) { o.faults.vanishAfter = 3 + 6 + 1000; },
       none, kStalled, Port::ClosedBeforeBox, true, 6200, 6500},
      {"port stops taking data mid-stream", none, at(2000, sim::WriteMode::Nothing), kStalled,
       Port::ClosedBeforeBox, true, 6900, 7300},
      {"write never completes mid-stream", none, at(2000, sim::WriteMode::Stall), kStalled,
       Port::ClosedBeforeBox, true, 6900, 7300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    scanner::Options options = UpdateMode();
    c.scanner(options);
    Connect(*com1, options);
    const UploadRun run = TestThenUpload({IDOK}, {}, [&] { c.arrange(*com1); });

    // Where TEST left the window: UPDATE again, or EXIT.
    EXPECT_EQ(run.states, kUpdateOffered);
    EXPECT_EQ(run.waitCursorDepth, 0);
    EXPECT_FALSE(run.progressOpen);
    EXPECT_FALSE(scanner->model().record().imageComplete);
    EXPECT_FALSE(com1->open);
    ASSERT_EQ(LaterBoxes().size(), 2u);
    const headless::ShownBox box = LaterBoxes()[1];
    EXPECT_EQ(box.text, c.message);
    EXPECT_EQ(box.style, MB_ICONEXCLAMATION | MB_OK);
    EXPECT_EQ(box.waitCursorDepth, 1);
    EXPECT_EQ(!ProgressEvents().empty(), c.progressShown);

    // TEST opened and closed the port once before any of its boxes.
    switch (c.port) {
      case Port::NeverOpened:
        EXPECT_EQ(watch->boxesAtClose, (std::vector<size_t>{0}));
        EXPECT_TRUE(HostEntries(run.firstLogEntry).empty());
        continue;
      case Port::OpenDuringBox:
        EXPECT_EQ(watch->boxesAtClose, (std::vector<size_t>{0, 2}));
        EXPECT_TRUE(HostEntries(run.firstLogEntry).empty());
        break;
      case Port::ClosedBeforeBox:
        EXPECT_EQ(watch->boxesAtClose, (std::vector<size_t>{0, 1}));
        break;
    }
    ASSERT_EQ(watch->openedAt.size(), 2u);
    ASSERT_EQ(watch->closedAt.size(), 2u);
    const sim::Nanos session = watch->closedAt[1] - watch->openedAt[1];
    EXPECT_GE(session, c.minSessionMs * kMs);
    EXPECT_LE(session, c.maxSessionMs * kMs);
  }
}

}  // namespace
