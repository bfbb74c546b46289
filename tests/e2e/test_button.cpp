// TEST against each kind of scanner, and against none: the message, the
// window's state afterwards, and what went over the line.
#include <string>
#include <vector>

#include "tests/e2e/byte_log.h"
#include "tests/e2e/expected_texts.h"
#include "tests/e2e/scenarios.h"

namespace e2e {

namespace {

// The version query on the wire, from the host: ENQ, then 'V', then the
// acknowledgement of the reply.
const std::vector<uint8_t> kVersionQuery = {0x05, 0x56, 0x06};

// Runs TEST on a port and checks that it sent exactly `sent`.
void CheckWire(Suite& suite, int port, size_t sessionsBefore, const std::vector<uint8_t>& sent,
               const std::string& name) {
  Session session;
  const bool logged = WaitForClosedSession(suite.LogOf(port), sessionsBefore, &session);
  suite.tally.Check(logged && session.fromHost == sent, name + ": the host sent " + Hex(sent),
                    logged ? "it sent " + Hex(session.fromHost) : "no closed session in the log");
}

}  // namespace

void CheckFailedTests(Suite& suite, const driver::Program& program, HWND main) {
  Tally& t = suite.tally;
  struct Failure {
    const char* name;
    int port;
    std::string message;
  };
  const Failure failures[] = {
      {"TEST on a port with no device", kNoDevice, PortUnavailable(kNoDevice)},
      {"TEST with a scanner that does not answer", kSilentScanner, NoResponse()},
  };
  for (const Failure& f : failures) {
    const std::string name = f.name;
    const MainState before = ReadMainState(main);
    const size_t sessions = ReadSessions(suite.LogOf(f.port)).size();
    const driver::MessageBoxView box = RunTest(main, program, f.port);
    if (!t.Check(box.window != nullptr, name + ": a message comes")) continue;
    t.CheckText(box.text, f.message, name + ": the message");
    t.Check(box.buttons == std::vector<int>{IDOK}, name + ": the box has OK only");
    driver::Answer(box, IDOK);
    const MainState after = ReadMainState(main);
    t.Check(after == before, name + ": the window is left as it was", Describe(after));
    // Three tries of ENQ, each one echoed and none answered.
    if (f.port == kSilentScanner) CheckWire(suite, f.port, sessions, {0x05, 0x05, 0x05}, name);
  }
}

void CheckDeclinedUpdates(Suite& suite, const driver::Program& program, HWND main) {
  Tally& t = suite.tally;
  struct Scanner {
    const char* name;
    int port;
    int versionByte;
  };
  const Scanner scanners[] = {
      {"TEST with a newer scanner, answered No", kNewerScanner, kNewerVersionByte},
      {"TEST with an equal scanner, answered No", kEqualScanner, kEqualVersionByte},
  };
  for (const Scanner& s : scanners) {
    const std::string name = s.name;
    const size_t sessions = ReadSessions(suite.LogOf(s.port)).size();
    const driver::MessageBoxView box = RunTest(main, program, s.port);
    if (!t.Check(box.window != nullptr, name + ": a question comes")) continue;
    t.CheckText(box.text, VersionMessage(s.versionByte), name + ": the question");
    t.Check(box.buttons == std::vector<int>{IDYES, IDNO} && box.defaultButton == IDYES,
            name + ": Yes and No, Yes the default");
    driver::Answer(box, IDNO);
    const MainState expected{true, false, true, false, Banner(s.versionByte)};
    const MainState state = ReadMainState(main);
    t.Check(state == expected, name + ": versions shown, UPDATE not offered", Describe(state));
    CheckWire(suite, s.port, sessions, kVersionQuery, name);
  }
}

// TEST with the older scanner offers the update at once.
bool CheckOlderScanner(Suite& suite, const driver::Program& program, HWND main) {
  Tally& t = suite.tally;
  const std::string name = "TEST with an older scanner";
  const size_t sessions = ReadSessions(suite.LogOf(kOlderScanner)).size();
  const driver::MessageBoxView box = RunTest(main, program, kOlderScanner);
  if (!t.Check(box.window != nullptr, name + ": a message comes")) return false;
  t.CheckText(box.text, VersionMessage(kOlderVersionByte), name + ": the message");
  t.Check(box.buttons == std::vector<int>{IDOK}, name + ": the box has OK only");
  suite.Screenshot("version-message", box.window);
  driver::Answer(box, IDOK);
  const MainState expected{false, true, false, false, Banner(kOlderVersionByte)};
  const MainState state = ReadMainState(main);
  CheckWire(suite, kOlderScanner, sessions, kVersionQuery, name);
  return t.Check(state == expected, name + ": UPDATE offered, TEST and the list disabled",
                 Describe(state));
}

}  // namespace e2e
