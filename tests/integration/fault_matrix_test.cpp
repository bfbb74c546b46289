// Every way the line can fail, over real pseudo-terminals in real time, with
// the program's handlers on the POSIX backend: the user is told what the
// program says for it, within its bound, the port is closed afterwards, and
// the next try on a working line goes through.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "protocol/engine.h"
#include "tests/integration/com_port_link.h"
#include "tests/support/scanner_process.h"
#include "tests/unit/ui_fixture.h"
#include "ui/updater_dlg.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string kRetryTest = "\n\nPlease retry from Step 1.";

// True when a file descriptor of this process is open on the terminal.
bool HoldsOpen(const std::string& terminal) {
  DIR* fds = opendir("/proc/self/fd");
  if (fds == nullptr) return false;
  bool held = false;
  while (dirent* e = readdir(fds)) {
    char target[PATH_MAX] = {};
    const std::string link = std::string("/proc/self/fd/") + e->d_name;
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    if (n > 0 && terminal == target) held = true;
  }
  closedir(fds);
  return held;
}

std::string Message(EngineError code) { return EngineMessage(code) + kRetryTest; }

std::string PortMessage(int number) {
  return "Unable to open the port COM" + std::to_string(number) +
         ". Make sure that it actually\nexists and is not being used by any other program (e.g. "
         "a\nPDA program like Palm's HotSync).\n\nPlease retry from Step 2.";
}

class FaultMatrix : public UiTest {
 protected:
  // One press of a button with the port list set to a COM port, timed, and
  // a look at the terminal right after the handler returned.
  struct Press {
    int button;
    int port;                 // list index + 1; 0 leaves the list alone
    std::string terminal;     // must be closed once the handler returns
    Clock::time_point start{};
    double seconds = 0;
    bool leftOpen = false;
  };

  static void Queue(Press& press) {
    WhenMainIdle([&press](HWND main) {
      if (press.port != 0)
        static_cast<CUpdaterDlg*>(main->object)
            ->GetDlgItem(kPortList)
            ->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(press.port - 1));
      press.start = Clock::now();
      EXPECT_TRUE(headless::Click(main, press.button));
    });
    // The click is handled, message boxes and all, before the next idle moment.
    WhenMainIdle([&press](HWND) {
      press.seconds = std::chrono::duration<double>(Clock::now() - press.start).count();
      press.leftOpen = HoldsOpen(press.terminal);
    });
  }

  static std::vector<headless::ShownBox> LaterBoxes() {
    const auto& boxes = headless::Boxes();
    return std::vector<headless::ShownBox>(boxes.begin() + 1, boxes.end());
  }
};

struct TestFault {
  const char* name;
  std::vector<std::string> options;
  EngineError code;
  double boundSeconds;  // the longest the handler may take
};

TEST_F(FaultMatrix, EachFailureOfTestIsToldAndTheNextTestWorks) {
  const TestFault cases[] = {
      {"silent scanner", {"--silent"}, EngineError::NoResponse, 6},
      {"three NAK answers", {"--nak-answers", "3"}, EngineError::ErrorReply, 4},
      {"BEL answer", {"--bel-answer"}, EngineError::FlashWriteError, 2},
      {"stray answer", {"--stray-answer", "0"}, EngineError::ErrorReply, 2},
      {"three bad replies", {"--bad-checksum-replies", "3"}, EngineError::NoResponse, 4},
      {"lone NAK reply", {"--lone-nak-reply"}, EngineError::ErrorReply, 2},
      {"wrong echo", {"--wrong-echo"}, EngineError::EchoFailed, 3},
      {"no echo", {"--no-echo"}, EngineError::EchoFailed, 3},
      {"surplus behind the reply", {"--surplus-after-reply", "AA"}, EngineError::EchoFailed, 3},
      {"device that never stops sending", {"--endless-noise", "--no-echo"},
       EngineError::EchoFailed, 5},
      {"cable pulled during TEST", {"--vanish-after", "1"}, EngineError::EchoFailed, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    ScannerProcess faulty(c.options);
    ScannerProcess working({"--version", "0x11"});
    ASSERT_FALSE(faulty.path().empty());
    ASSERT_FALSE(working.path().empty());
    const ComPortLink faultyPort(faulty.path());
    const ComPortLink workingPort(working.path());
    if (faultyPort.number == 0) GTEST_SKIP() << faultyPort.problem;

    Press first{kTestButton, faultyPort.number, faulty.path()};
    Press next{kTestButton, workingPort.number, working.path()};
    Queue(first);
    Queue(next);
    ClickExit();
    EXPECT_FALSE(RunProgram({IDOK, IDOK}));

    const auto boxes = LaterBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, Message(c.code));
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_LT(first.seconds, c.boundSeconds);
    EXPECT_FALSE(first.leftOpen);
    EXPECT_NE(boxes[1].text.find("scanner is 1.1"), std::string::npos) << boxes[1].text;
    EXPECT_FALSE(next.leftOpen);
  }
}

TEST_F(FaultMatrix, PortHeldByAnotherProgramIsToldAndWorksOnceReleased) {
  ScannerProcess scanner({"--version", "0x11"});
  ASSERT_FALSE(scanner.path().empty());
  const ComPortLink port(scanner.path());
  if (port.number == 0) GTEST_SKIP() << port.problem;
  const int other = open(scanner.path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);

  Press held{kTestButton, port.number, scanner.path()};
  Press released{kTestButton, port.number, scanner.path()};
  Queue(held);
  WhenMainIdle([other](HWND) { close(other); });
  Queue(released);
  ClickExit();
  EXPECT_FALSE(RunProgram({IDOK, IDOK}));

  const auto boxes = LaterBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, PortMessage(port.number));
  EXPECT_LT(held.seconds, 1);
  EXPECT_NE(boxes[1].text.find("scanner is 1.1"), std::string::npos) << boxes[1].text;
  EXPECT_FALSE(released.leftOpen);
}

struct UpdateFault {
  const char* name;
  std::vector<std::string> options;  // for a scanner that enters update mode after TEST
  std::string message;               // empty: the upload completes
  double boundSeconds;
};

TEST_F(FaultMatrix, EachFailureOfUpdateIsToldAndTheNextUpdateWorks) {
  const UpdateFault cases[] = {
      {"noise before the ready byte", {"--noise-before-ready", "00FF1355AA"}, "", 60},
      {"no ready byte", {"--ready-delay", "never"},
       "No data from the scanner. Please retry from step 4", 3},
      // TEST takes 3 bytes and the header 6: the cable goes mid-image.
      {"cable pulled during UPDATE", {"--vanish-after", "3000"},
       "The update did not complete: the scanner stopped taking data.\n\n"
       "Please retry from step 4.",
       30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    std::vector<std::string> options = {"--mode", "auto", "--version", "0x11"};
    options.insert(options.end(), c.options.begin(), c.options.end());
    std::optional<ScannerProcess> scanner(std::in_place, options);
    ASSERT_FALSE(scanner->path().empty());
    ComPortLink port(scanner->path());
    if (port.number == 0) GTEST_SKIP() << port.problem;

    Press test{kTestButton, port.number, scanner->path()};
    Press update{kUpdateButton, 0, scanner->path()};
    Press retry{kUpdateButton, 0, ""};
    bool completed = false;
    Queue(test);
    // The user switches the scanner into update mode between the buttons.
    WhenMainIdle([&](HWND) { EXPECT_TRUE(WaitUntil([&] { return scanner->HostCloses() >= 1; })); });
    Queue(update);
    if (!c.message.empty()) {
      // The next try, on the same COM port, finds a scanner that is ready.
      WhenMainIdle([&](HWND) {
        scanner.emplace(std::vector<std::string>{"--mode", "update"});
        port.Retarget(scanner->path());
        retry.terminal = scanner->path();
      });
      Queue(retry);
    }
    WhenMainIdle([&](HWND main) { completed = headless::Control(main, kCompletionNote)->visible; });
    ClickExit();
    if (c.message.empty()) {
      EXPECT_FALSE(RunProgram({IDOK}));
    } else {
      EXPECT_FALSE(RunProgram({IDOK, IDOK}));
    }

    const auto boxes = LaterBoxes();
    ASSERT_EQ(boxes.size(), c.message.empty() ? 1u : 2u);
    EXPECT_NE(boxes[0].text.find("scanner is 1.1"), std::string::npos) << boxes[0].text;
    EXPECT_LT(update.seconds, c.boundSeconds);
    EXPECT_FALSE(update.leftOpen);
    if (!c.message.empty()) {
      EXPECT_EQ(boxes[1].text, c.message);
      EXPECT_EQ(boxes[1].style, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
      EXPECT_FALSE(retry.leftOpen);
    }
    EXPECT_TRUE(completed);
  }
}

}  // namespace
