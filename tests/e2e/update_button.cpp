// UPDATE: the stream to a scanner in update mode with its progress window,
// the version TEST reads afterwards, and a scanner that never gets ready.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/dialogs.h"
#include "tests/e2e/byte_log.h"
#include "tests/e2e/expected_texts.h"
#include "tests/e2e/layout.h"
#include "tests/e2e/scenarios.h"
#include "tools/ui_driver/input.h"
#include "tools/ui_driver/screenshot.h"
#include "tools/ui_driver/wait.h"
#include "tools/ui_driver/windows.h"

namespace e2e {

namespace {

constexpr int kUpdateButton = 1003;
constexpr int kProgressBar = 6000;
// 27266 bytes go out in about 30 s: the line time and a pause after each of
// the 273 chunks.
constexpr unsigned kUploadPatienceMs = 120000;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The header of an upload: 'f', STX, the count of byte pairs high byte
// first, ETX, and the checksum of the three bytes before it.
std::vector<uint8_t> UploadHeader(size_t length) {
  const auto high = static_cast<uint8_t>((length >> 9) & 0xFF);
  const auto low = static_cast<uint8_t>((length >> 1) & 0xFF);
  return {0x66, 0x02, high, low, 0x03, static_cast<uint8_t>(high + low + 0x03)};
}

void CheckProgressWindow(Suite& suite, HWND main, HWND progress) {
  Tally& t = suite.tally;
  CheckLayout(t, "progress window", progress, kProgressDialogTemplate, kProgressCaption);
  RECT parent{}, box{};
  GetWindowRect(main, &parent);
  GetWindowRect(progress, &box);
  const LONG x = (parent.left + parent.right) / 2 - (box.right - box.left) / 2;
  const LONG y = (parent.top + parent.bottom) / 2 - (box.bottom - box.top) / 2;
  t.Check(box.left == x && box.top == y, "progress window: centred over the main window",
          "at " + std::to_string(box.left) + "," + std::to_string(box.top));
  HWND bar = GetDlgItem(progress, kProgressBar);
  const int first = driver::FilledPixels(bar);
  const bool moved =
      driver::WaitFor([&] { return IsWindow(progress) && driver::FilledPixels(bar) > first; });
  t.Check(moved, "progress window: the bar moves on");
  // The picture shows the bar a quarter of the way at least.
  RECT r{};
  GetWindowRect(bar, &r);
  if (moved && driver::WaitFor([&] {
        return IsWindow(progress) && driver::FilledPixels(bar) >= (r.right - r.left) / 4;
      }))
    suite.Screenshot("progress-window");
}

}  // namespace

void CheckUpdate(Suite& suite, const driver::Program& program, HWND main) {
  Tally& t = suite.tally;
  if (!CheckOlderScanner(suite, program, main)) return;
  const std::vector<uint8_t> payload = ReadFile(suite.payload);
  if (!t.Check(!payload.empty(), "the payload file can be read", suite.payload)) return;

  const size_t sessions = ReadSessions(suite.LogOf(kOlderScanner)).size();
  driver::ClickButton(GetDlgItem(main, kUpdateButton));
  HWND progress = driver::WaitForWindow(program.id(), kProgressCaption);
  if (!t.Check(progress != nullptr, "UPDATE shows the progress window")) return;
  CheckProgressWindow(suite, main, progress);
  t.Check(driver::WaitFor([&] { return !IsWindow(progress); }, kUploadPatienceMs),
          "the progress window goes when the stream ends");

  const MainState expected{true, false, true, true, Banner(kOlderVersionByte)};
  const MainState state = ReadMainState(main);
  t.Check(state == expected, "after UPDATE: note shown, TEST and the list enabled, UPDATE disabled",
          Describe(state));
  t.CheckText(driver::TextOf(GetDlgItem(main, 1004)), kCompletionNote, "the completion note");
  suite.Screenshot("update-complete", main);

  std::vector<uint8_t> sent = UploadHeader(payload.size());
  sent.insert(sent.end(), payload.begin(), payload.end());
  Session session;
  const bool logged = WaitForClosedSession(suite.LogOf(kOlderScanner), sessions, &session);
  t.Check(logged && session.fromHost == sent,
          "UPDATE sent the header " + Hex(UploadHeader(payload.size())) + " and the whole payload",
          logged ? "it sent " + Hex(session.fromHost) : "no closed session in the log");
  std::vector<uint8_t> received;
  driver::WaitFor([&] { return !(received = ReadFile(suite.ImageOf(kOlderScanner))).empty(); });
  t.Check(received == payload, "the scanner received the payload unchanged",
          std::to_string(received.size()) + " bytes received");

  const driver::MessageBoxView box = RunTest(main, program, kOlderScanner);
  if (!t.Check(box.window != nullptr, "TEST after UPDATE: a question comes")) return;
  t.CheckText(box.text, VersionMessage(kUpdatedVersionByte), "TEST after UPDATE: the new version");
  driver::Answer(box, IDNO);
  const MainState after{true, false, true, true, Banner(kUpdatedVersionByte)};
  const MainState now = ReadMainState(main);
  t.Check(now == after, "TEST after UPDATE: banner shows 1.2, the note stays", Describe(now));
}

void CheckUpdateWithoutReadyByte(Suite& suite) {
  Tally& t = suite.tally;
  driver::Program program(suite.program);
  HWND main = StartAndAccept(suite, program);
  if (main == nullptr) return;
  const std::string name = "UPDATE with a scanner that never gets ready";
  driver::MessageBoxView box = RunTest(main, program, kEqualScanner);
  if (!t.Check(box.window != nullptr, "TEST with an equal scanner: a question comes")) return;
  driver::Answer(box, IDYES);
  const MainState offered{false, true, false, false, Banner(kEqualVersionByte)};
  const MainState state = ReadMainState(main);
  if (!t.Check(state == offered, "TEST with an equal scanner, answered Yes: UPDATE offered",
               Describe(state))) {
    return;
  }

  const size_t sessions = ReadSessions(suite.LogOf(kEqualScanner)).size();
  driver::ClickButton(GetDlgItem(main, kUpdateButton));
  box = WaitForMessageBox(program);
  if (!t.Check(box.window != nullptr, name + ": a message comes")) return;
  t.CheckText(box.text, kNoReadyByte, name + ": the message");
  t.Check(box.buttons == std::vector<int>{IDOK}, name + ": the box has OK only");
  const std::vector<Session> open = ReadSessions(suite.LogOf(kEqualScanner));
  t.Check(open.size() == sessions + 1 && !open.back().closed,
          name + ": the port stays open while the message shows");
  driver::Answer(box, IDOK);
  Session session;
  const bool logged = WaitForClosedSession(suite.LogOf(kEqualScanner), sessions, &session);
  t.Check(logged && session.fromHost.empty(), name + ": nothing was sent",
          logged ? "it sent " + Hex(session.fromHost) : "no closed session in the log");
  const MainState after = ReadMainState(main);
  t.Check(after == offered, name + ": the window is left as it was", Describe(after));

  driver::ClickButton(GetDlgItem(main, IDOK));
  t.Check(program.WaitForExit(), name + ": EXIT still ends the program");
}

}  // namespace e2e
