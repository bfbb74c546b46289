// CSerial on the POSIX backend and the command engine, against the scanner
// simulator on a real pseudo-terminal, in real time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "protocol/engine.h"
#include "tests/support/scanner_process.h"

namespace {

using Bytes = std::vector<uint8_t>;
using std::chrono::milliseconds;

// Bounds that only a hang can break.
constexpr uint32_t kRunLimitMs = 20000;

struct Window {
  int32_t m_nScannerStatus = 0;
  int32_t m_nScannerVersion = 0;
  uint8_t m_bFactoryVersion = 0;
};

std::unique_ptr<CSerial> OpenPort(const std::string& path) {
  return std::make_unique<CSerial>(path.c_str(), 19200, 'N', 8, 1, true, false);
}

// The queue that TEST runs: ENQ, then 'V'.
EngineResult QueryVersion(CSerial& port, Window& window) {
  CommandQueue queue;
  queue.AddTail(std::make_unique<ScannerCommand>(Enquiry));
  queue.AddTail(std::make_unique<ScannerCommand>(Version));
  return RunCommandQueue(port, queue, window);
}

uint32_t Since(uint32_t start) { return platform::GetTickCount() - start; }

TEST(Link, VersionQueryReadsTheReplyAndAcknowledgesIt) {
  ScannerProcess scanner({"--status", "1", "--version", "0x92"});
  ASSERT_FALSE(scanner.path().empty());
  auto port = OpenPort(scanner.path());
  Window window;
  const EngineResult result = QueryVersion(*port, window);
  port.reset();

  EXPECT_EQ(result.code, EngineError::None) << result.message;
  EXPECT_EQ(result.message, "");
  EXPECT_EQ(window.m_nScannerStatus, 1);
  EXPECT_EQ(window.m_nScannerVersion, 0x12);
  EXPECT_EQ(window.m_bFactoryVersion, 1);
  EXPECT_EQ(scanner.HostBytes(), (Bytes{0x05, 0x56, 0x06}));
  // Echo, ACK; echo, ACK and the reply; echo of the host's ACK.
  const Bytes line{0x05, 0x06, 0x56, 0x06, 0x02, 0x01, 0x92, 0x03, 0x96, 0x06};
  EXPECT_TRUE(WaitUntil([&] { return scanner.ScannerBytes().size() >= line.size(); }));
  EXPECT_EQ(scanner.ScannerBytes(), line);
}

TEST(Link, SilentScannerEndsTheRunWithNoResponse) {
  ScannerProcess scanner({"--silent"});
  ASSERT_FALSE(scanner.path().empty());
  auto port = OpenPort(scanner.path());
  Window window;
  const uint32_t start = platform::GetTickCount();
  const EngineResult result = QueryVersion(*port, window);

  EXPECT_EQ(result.code, EngineError::NoResponse);
  EXPECT_LT(Since(start), kRunLimitMs);
  // The enquiry went out three times; the host sent nothing else.
  EXPECT_EQ(scanner.HostBytes(), (Bytes{0x05, 0x05, 0x05}));
  EXPECT_EQ(window.m_nScannerVersion, 0);
}

TEST(Link, TransfersFailAtOnceOnceTheDeviceIsGone) {
  ScannerProcess scanner;
  ASSERT_FALSE(scanner.path().empty());
  auto port = OpenPort(scanner.path());
  scanner.Kill();

  const Bytes chunk(100, 0x41);
  uint8_t in[16];
  uint32_t start = platform::GetTickCount();
  EXPECT_EQ(port->Write(chunk.data(), static_cast<int>(chunk.size()), 5000), 0);
  EXPECT_LT(Since(start), 5000u) << "Write waited for its limit on a vanished device";
  start = platform::GetTickCount();
  EXPECT_EQ(port->Read(in, 1, 5000), 0);
  EXPECT_LT(Since(start), 5000u) << "Read waited for its limit on a vanished device";
  EXPECT_EQ(port->BytesAvailable(), 0);

  Window window;
  start = platform::GetTickCount();
  const EngineResult result = QueryVersion(*port, window);
  EXPECT_NE(result.code, EngineError::None);
  EXPECT_NE(result.message, "");
  EXPECT_LT(Since(start), kRunLimitMs);
}

TEST(Link, CablePulledDuringTheQueryEndsTheRunWithAFailure) {
  ScannerProcess scanner({"--vanish-after", "1"});
  ASSERT_FALSE(scanner.path().empty());
  auto port = OpenPort(scanner.path());
  Window window;
  const uint32_t start = platform::GetTickCount();
  const EngineResult result = QueryVersion(*port, window);

  EXPECT_NE(result.code, EngineError::None);
  EXPECT_NE(result.message, "");
  EXPECT_LT(Since(start), kRunLimitMs);
  EXPECT_TRUE(scanner.WaitForExit(milliseconds(kRunLimitMs)));
  EXPECT_EQ(scanner.HostBytes(), Bytes{0x05});
  EXPECT_EQ(window.m_nScannerVersion, 0);
}

TEST(Link, PortHeldByAnotherProgramCannotBeOpened) {
  ScannerProcess scanner;
  ASSERT_FALSE(scanner.path().empty());
  const int other = open(scanner.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(other, 0);
  ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);

  int thrown = 0;
  try {
    OpenPort(scanner.path());
  } catch (int e) {
    thrown = e;
  }
  EXPECT_EQ(thrown, 1);

  // Once the other program lets go, the port opens.
  close(other);
  EXPECT_NO_THROW(OpenPort(scanner.path()));
}

// A receiver on the wrong port: it talks all the time and returns nothing of
// what the host sends.
TEST(Link, DeviceThatNeverStopsSendingFailsTheEchoCheck) {
  ScannerProcess scanner({"--endless-noise", "--no-echo"});
  ASSERT_FALSE(scanner.path().empty());
  auto port = OpenPort(scanner.path());
  ASSERT_TRUE(WaitUntil([&] { return port->BytesAvailable() > 0; }));

  uint32_t start = platform::GetTickCount();
  port->Purge();
  // Purge gives up after 2000 ms of draining.
  EXPECT_LT(Since(start), 5000u);

  Window window;
  start = platform::GetTickCount();
  const EngineResult result = QueryVersion(*port, window);
  EXPECT_EQ(result.code, EngineError::EchoFailed);
  EXPECT_LT(Since(start), kRunLimitMs);
  // The noise can fail the echo check before the enquiry has crossed the line.
  EXPECT_TRUE(WaitUntil([&] { return !scanner.HostBytes().empty(); }));
  EXPECT_EQ(scanner.HostBytes(), Bytes{0x05});
}

bool AwaitReady(CSerial& port) {
  uint8_t ready = 0;
  return WaitUntil(
      [&] { return port.BytesAvailable() > 0 && port.Read(&ready, 1, 1000) == 1 && ready == 0x55; });
}

// The scanner is switched on in update mode when the host opens the port,
// however long after the simulator's start that happens: the ready byte's
// delay counts from the open.
TEST(Link, ReadyByteDelayCountsFromTheHostsOpen) {
  ScannerProcess scanner({"--mode", "update", "--ready-delay", "500"});
  ASSERT_FALSE(scanner.path().empty());
  // Part of the scenario, not a wait for anything: the host comes late.
  std::this_thread::sleep_for(milliseconds(300));
  auto port = OpenPort(scanner.path());
  const uint32_t opened = platform::GetTickCount();
  EXPECT_TRUE(AwaitReady(*port));
  EXPECT_GE(Since(opened), 500u);
}

// A user rehearsing the steps: TEST, update mode at the next open, the
// upload, and a TEST that shows the new version.
TEST(Link, RehearsalUpdatesTheSimulatedScanner) {
  ScannerProcess scanner({"--mode", "auto", "--version", "0x11", "--new-version", "0x12"});
  ASSERT_FALSE(scanner.path().empty());
  Window before;
  {
    auto port = OpenPort(scanner.path());
    ASSERT_EQ(QueryVersion(*port, before).code, EngineError::None);
  }
  EXPECT_EQ(before.m_nScannerVersion, 0x11);
  ASSERT_TRUE(WaitUntil([&] { return scanner.HostCloses() == 1; }));

  Bytes image(200);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i);
  {
    auto port = OpenPort(scanner.path());
    ASSERT_TRUE(AwaitReady(*port));
    const uint8_t header[] = {0x66, 0x02, 0x00, 0x64, 0x03, 0x67};
    ASSERT_EQ(port->Write(header, 6, 5000), 6);
    for (size_t sent = 0; sent < image.size(); sent += 100)
      ASSERT_EQ(port->Write(image.data() + sent, 100, 5000), 100);
    EXPECT_TRUE(WaitUntil([&] { return scanner.Image() == image; }));
  }
  ASSERT_TRUE(WaitUntil([&] { return scanner.HostCloses() == 2; }));

  Window after;
  auto port = OpenPort(scanner.path());
  EXPECT_EQ(QueryVersion(*port, after).code, EngineError::None);
  EXPECT_EQ(after.m_nScannerVersion, 0x12);
  EXPECT_EQ(after.m_bFactoryVersion, 0);
}

}  // namespace
