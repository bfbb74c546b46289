// CSerial on the Win32 backend over a real COM device: a port that Wine maps
// to a pseudo-terminal whose far end returns every byte, like the scanner's
// cable. The port name is the program's one argument.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/clock.h"
#include "serial/serial.h"
#include "tests/windows/open_handles.h"

namespace {

const char* portName = nullptr;

// Generous bound for the far end to answer on a busy machine.
constexpr uint32_t kAnswerBoundMs = 5000;

CSerial OpenLine() { return CSerial(portName, 19200, 'N', 8, 1, true, false); }

std::vector<uint8_t> Pattern(int count, uint8_t seed) {
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}

bool WaitForBytes(CSerial& port, int count) {
  const uint32_t start = platform::GetTickCount();
  while (port.BytesAvailable() < count) {
    if (platform::GetTickCount() - start > kAnswerBoundMs) return false;
    platform::Sleep(2);
  }
  return true;
}

// Sends bytes the way the command engine does: chunks of at most 100.
bool WriteAll(CSerial& port, const std::vector<uint8_t>& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    const int chunk = static_cast<int>(std::min<size_t>(bytes.size() - sent, 100));
    const int n = port.Write(bytes.data() + sent, chunk, 5000);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

int ConstructionFailure(int dataBits) {
  try {
    CSerial port(portName, 19200, 'N', dataBits, 1, true, false);
  } catch (int code) {
    return code;
  } catch (...) {
    return -1;
  }
  return 0;
}

TEST(Line, AcceptsTheSettingsOfEachUse) {
  struct Case {
    const char* name;
    int baudRate, parity, dataBits, stopBits;
    bool dtr, rts;
  };
  const Case cases[] = {
      {"scanner line", 19200, 'N', 8, 1, true, false},
      {"even parity, two stop bits", 9600, 'E', 7, 2, false, true},
      {"odd parity", 115200, 'O', 8, 1, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NO_THROW(CSerial(portName, c.baudRate, c.parity, c.dataBits, c.stopBits, c.dtr, c.rts));
  }
}

TEST(Line, RefusedSettingsThrowOneAndLeaveNothingOpen) {
  constexpr int kAttempts = 20;
  const int refusedDataBits[] = {3, 9};
  for (const int dataBits : refusedDataBits) {
    SCOPED_TRACE(testing::Message() << dataBits << " data bits");
    const int before = OpenHandles();
    for (int i = 0; i < kAttempts; ++i) ASSERT_EQ(ConstructionFailure(dataBits), 1);
    EXPECT_LT(OpenHandles() - before, kAttempts);
  }
  EXPECT_NO_THROW(OpenLine());
}

TEST(Line, EchoIsReadBack) {
  const int counts[] = {1, 100, 1000};
  CSerial port = OpenLine();
  for (const int count : counts) {
    SCOPED_TRACE(count);
    const std::vector<uint8_t> sent = Pattern(count, 0x30);
    ASSERT_TRUE(WriteAll(port, sent));
    EXPECT_TRUE(port.VerifyEcho(sent.data(), count, 1, 1000));
    EXPECT_EQ(port.BytesAvailable(), 0);
  }
}

TEST(Line, TimedOutReadIsCancelledAndTheNextReadGetsTheBytes) {
  CSerial port = OpenLine();
  std::vector<uint8_t> abandoned(4, 0xAA);
  const uint32_t limit = 200;
  const uint32_t start = platform::GetTickCount();
  EXPECT_EQ(port.Read(abandoned.data(), 4, limit), 0);
  EXPECT_GE(platform::GetTickCount() - start + 1, limit);

  const std::vector<uint8_t> sent = {0x05, 0x56, 0x06, 0x15};
  ASSERT_EQ(port.Write(sent.data(), 4, 5000), 4);
  ASSERT_TRUE(WaitForBytes(port, 4));
  std::vector<uint8_t> got(4, 0);
  EXPECT_EQ(port.Read(got.data(), 4, 1000), 4);
  EXPECT_EQ(got, sent);
  EXPECT_EQ(abandoned, std::vector<uint8_t>(4, 0xAA));
  EXPECT_EQ(port.BytesAvailable(), 0);
}

// Wine sometimes completes a read of bytes already waiting only a moment
// later; a read whose limit runs out in that moment must report what it
// took from the device rather than drop it.
TEST(Line, ReadWhoseLimitRunsOutLosesNoBytes) {
  constexpr int kRounds = 300;
  constexpr int kCount = 10;
  CSerial port = OpenLine();
  int cutShort = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    const std::vector<uint8_t> sent = Pattern(kCount, static_cast<uint8_t>(round));
    ASSERT_EQ(port.Write(sent.data(), kCount, 5000), kCount);
    ASSERT_TRUE(WaitForBytes(port, kCount));
    std::vector<uint8_t> got(kCount, 0);
    int received = port.Read(got.data(), kCount, 0);
    if (received < kCount) {
      ++cutShort;
      ASSERT_TRUE(WaitForBytes(port, kCount - received));
    }
    received += port.Read(got.data() + received, kCount - received, 1000);
    ASSERT_EQ(received, kCount);
    ASSERT_EQ(got, sent);
  }
  std::printf("reads cut short by their limit: %d of %d\n", cutShort, kRounds);
}

// Run on its own: the far end stays down afterwards.
TEST(LineHangUp, EveryCallFailsAtOnceWhenTheCableIsPulled) {
  CSerial port = OpenLine();
  const std::vector<uint8_t> hangUp = {'H', 'A', 'N', 'G', ' ', 'U', 'P'};
  ASSERT_TRUE(WriteAll(port, hangUp));
  // The far end closes the line as soon as it has the text.
  uint8_t byte = 0;
  const uint32_t start = platform::GetTickCount();
  while (port.Write("x", 1, 100) == 1) {
    ASSERT_LT(platform::GetTickCount() - start, kAnswerBoundMs) << "the line stayed up";
    platform::Sleep(10);
  }
  // Each call ends with nothing moved, long before a 5 s limit.
  const uint32_t callsStart = platform::GetTickCount();
  EXPECT_EQ(port.Write("x", 1, 5000), 0);
  EXPECT_EQ(port.Read(&byte, 1, 5000), 0);
  EXPECT_EQ(port.BytesAvailable(), 0);
  port.Purge();
  EXPECT_LT(platform::GetTickCount() - callsStart, 5000u);
  EXPECT_TRUE(port.Close());
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PORT (for example \\\\.\\COM1)\n", argv[0]);
    return 2;
  }
  portName = argv[1];
  return RUN_ALL_TESTS();
}
