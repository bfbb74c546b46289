#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/sim/sim.h"
#include "serial/serial.h"
#include "tests/unit/flooding_device.h"

namespace {

constexpr char kPort[] = "\\\\.\\COM1";

class SerialTest : public ::testing::Test {
 protected:
  SerialTest() : device((sim::Reset(), sim::AddDevice(kPort))) {}
  void TearDown() override { sim::Reset(); }

  sim::Device& device;

  CSerial OpenPort(int parity = 'N', int stopBits = 1) {
    return CSerial(kPort, 19200, parity, 8, stopBits, true, false);
  }

  void Arrive(std::vector<uint8_t> bytes) {
    device.input.insert(device.input.end(), bytes.begin(), bytes.end());
  }

  double ElapsedMs(sim::Nanos since) const {
    return static_cast<double>(sim::Now() - since) / sim::kMs;
  }
};

// Echoes every byte the host sends, like the supported cable.
struct EchoCable : sim::Peer {
  explicit EchoCable(sim::Device& d) : device(d) { device.peer = this; }
  void OnHostByte(uint8_t b) override { device.EchoToHost(b); }
  sim::Device& device;
};

bool ThrowsOne(const char* name) {
  try {
    CSerial port(name, 19200, 'N', 8, 1, true, false);
  } catch (int code) {
    return code == 1;
  }
  return false;
}

TEST_F(SerialTest, OpensWithTheLineSettingsAskedFor) {
  CSerial port = OpenPort();
  EXPECT_TRUE(device.open);
  EXPECT_EQ(device.applied.baudRate, 19200u);
  EXPECT_EQ(device.applied.parity, 'N');
  EXPECT_EQ(device.applied.dataBits, 8);
  EXPECT_EQ(device.applied.stopBits, 1);
  EXPECT_TRUE(device.applied.dtr);
  EXPECT_FALSE(device.applied.rts);
}

TEST_F(SerialTest, ConstructionThrowsOneAndLeavesNothingOpen) {
  struct Case {
    const char* name;
    void (*fault)(sim::Device&);
  };
  const Case cases[] = {
      {"held by another program", [](sim::Device& d) { d.heldElsewhere = true; }},
      {"settings not readable", [](sim::Device& d) { d.settingsUnreadable = true; }},
      {"settings refused", [](sim::Device& d) { d.settingsRefused = true; }},
      {"time-outs refused", [](sim::Device& d) { d.timeoutsRefused = true; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Reset();
    sim::Device& d = sim::AddDevice(kPort);
    c.fault(d);
    EXPECT_TRUE(ThrowsOne(kPort));
    EXPECT_FALSE(d.open);
    EXPECT_EQ(d.opens, d.closes);
  }
  EXPECT_TRUE(ThrowsOne("\\\\.\\COM99"));
  ASSERT_FALSE(sim::Traces().empty());
  EXPECT_EQ(sim::Traces().back(), "CSerial::Open - CreateFile(\\\\.\\COM99) failed, "
                                  "GetLastError()==0x00000002");
}

TEST_F(SerialTest, ClosedPortMakesNoPlatformCall) {
  CSerial port = OpenPort();
  EXPECT_TRUE(port.Close());
  const int calls = device.platformCalls;
  uint8_t buffer[4] = {1, 2, 3, 4};
  EXPECT_EQ(port.Read(buffer, 4, 100), 0);
  EXPECT_EQ(port.Write(buffer, 4, 100), 0);
  EXPECT_FALSE(port.SetParams(19200, 'N', 8, 1, true, false));
  EXPECT_FALSE(port.Close());
  EXPECT_EQ(port.BytesAvailable(), 0);
  EXPECT_EQ(device.platformCalls, calls);
  EXPECT_EQ(device.closes, 1);
}

struct PacingCase {
  const char* name;
  int count;
  int parity;
  int stopBits;
  uint32_t takesMs;  // how long the device takes to accept the write
  double totalMs;    // how long Write lasts in all
};

TEST_F(SerialTest, WritePacesToTheLineTimeOfTheBytesAskedFor) {
  const PacingCase cases[] = {
      {"100 bytes taking 20 ms pause 32 ms", 100, 'N', 1, 20, 52},
      {"100 bytes within one tick never pause", 100, 'N', 1, 0, 0},
      {"100 bytes taking 60 ms do not pause", 100, 'N', 1, 60, 60},
      {"100 bytes taking exactly 52 ms", 100, 'N', 1, 52, 52},
      {"one byte never pauses", 1, 'N', 1, 5, 5},
      {"6 bytes take 3 ms", 6, 'N', 1, 1, 3},
      {"even parity adds a bit", 100, 'E', 1, 1, 57},
      {"odd parity adds a bit", 100, 'O', 1, 1, 57},
      {"two stop bits add a bit", 100, 'N', 2, 1, 57},
  };
  const std::vector<uint8_t> bytes(100, 0x41);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Reset();
    sim::Device& d = sim::AddDevice(kPort);
    d.writeMode = c.takesMs ? sim::WriteMode::Slow : sim::WriteMode::Normal;
    d.writeTakesMs = c.takesMs;
    CSerial port = OpenPort(c.parity, c.stopBits);
    const sim::Nanos start = sim::Now();
    EXPECT_EQ(port.Write(bytes.data(), c.count, 5000), c.count);
    EXPECT_NEAR(ElapsedMs(start), c.totalMs, 0.5);
  }
}

TEST_F(SerialTest, PacingSurvivesTheTickCounterWrap) {
  sim::SetTickAtStart(0xFFFFFFF0u);
  device.writeMode = sim::WriteMode::Slow;
  device.writeTakesMs = 20;
  CSerial port = OpenPort();
  const std::vector<uint8_t> bytes(100, 0);
  const sim::Nanos start = sim::Now();
  EXPECT_EQ(port.Write(bytes.data(), 100, 5000), 100);
  EXPECT_NEAR(ElapsedMs(start), 52, 0.5);
}

TEST_F(SerialTest, StalledWriteReturnsZeroAtItsLimitAndIsCancelled) {
  device.writeMode = sim::WriteMode::Stall;
  CSerial port = OpenPort();
  const uint8_t b = 0x05;
  const sim::Nanos start = sim::Now();
  EXPECT_EQ(port.Write(&b, 1, 5000), 0);
  EXPECT_NEAR(ElapsedMs(start), 5000, 0.5);
  EXPECT_EQ(sim::Traces().back(), "CSerial::Write (writing data) - WaitForSingleObject() timed out");

  device.writeMode = sim::WriteMode::Normal;
  EXPECT_EQ(port.Write(&b, 1, 5000), 1);
}

TEST_F(SerialTest, ReadOfTheWaitingBytesReturnsAtOnce) {
  CSerial port = OpenPort();
  Arrive({1, 2, 3});
  uint8_t buffer[3] = {};
  const sim::Nanos start = sim::Now();
  EXPECT_EQ(port.BytesAvailable(), 3);
  EXPECT_EQ(port.Read(buffer, 3, 100000), 3);
  EXPECT_LT(ElapsedMs(start), 0.1);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 3), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(SerialTest, ReadThatTimesOutIsCancelledAndLeavesTheNextReadIntact) {
  CSerial port = OpenPort();
  uint8_t buffer[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  const sim::Nanos start = sim::Now();
  EXPECT_EQ(port.Read(buffer, 4, 100), 0);
  EXPECT_NEAR(ElapsedMs(start), 100, 0.5);
  EXPECT_EQ(sim::Traces().back(), "CSerial::Read - WaitForSingleObject() timed out");

  // Bytes that arrive later go to the next read, not to the old buffer.
  Arrive({7, 8});
  uint8_t next[2] = {};
  EXPECT_EQ(port.Read(next, 2, 100), 2);
  EXPECT_EQ(next[0], 7);
  EXPECT_EQ(buffer[0], 0xEE);
}

TEST_F(SerialTest, LineErrorIsClearedAndTracedAndTheReadGoesOn) {
  CSerial port = OpenPort();
  device.pendingLineErrors = 0x8;  // framing
  Arrive({0x42});
  uint8_t b = 0;
  EXPECT_EQ(port.Read(&b, 1, 100), 1);
  EXPECT_EQ(b, 0x42);
  EXPECT_EQ(sim::Traces().back(), "CSerial::Read - ClearCommError returns 0x00000008");
  EXPECT_EQ(device.pendingLineErrors, 0u);
}

TEST_F(SerialTest, VerifyEchoOfNothingOrWithoutEchoReadsNothingOrDrains) {
  CSerial port = OpenPort();
  Arrive({9, 9, 9});
  EXPECT_TRUE(port.VerifyEcho("x", 0, 1, 1000));
  EXPECT_EQ(port.BytesAvailable(), 3);
  EXPECT_TRUE(port.VerifyEcho("abc", 3, 0, 1000));
  EXPECT_EQ(port.BytesAvailable(), 0);
}

TEST_F(SerialTest, VerifyEchoAcceptsTheEchoOfTheCable) {
  EchoCable cable(device);
  CSerial port = OpenPort();
  const uint8_t sent[5] = {0x02, 0x45, 0x30, 0x03, 0x78};
  ASSERT_EQ(port.Write(sent, 5, 5000), 5);
  EXPECT_TRUE(port.VerifyEcho(sent, 5, 1, 1000));
  EXPECT_EQ(port.BytesAvailable(), 0);
}

TEST_F(SerialTest, VerifyEchoStopsAtTheFirstDifferenceAndLeavesTheRestQueued) {
  CSerial port = OpenPort();
  const uint8_t sent[3] = {1, 2, 3};
  // The first byte alone arrives wrong; the rest is still on its way.
  Arrive({0x55});
  sim::At(sim::Now() + 500 * sim::kMs, [&] { Arrive({2, 3}); });
  const sim::Nanos start = sim::Now();
  EXPECT_FALSE(port.VerifyEcho(sent, 3, 1, 1000));
  EXPECT_LT(ElapsedMs(start), 1);
  sim::Advance(600 * sim::kMs);
  EXPECT_EQ(port.BytesAvailable(), 2);
}

TEST_F(SerialTest, VerifyEchoOfAPartialEchoFailsOnlyOnceTheLimitHasPassed) {
  CSerial port = OpenPort();
  const uint8_t sent[3] = {1, 2, 3};
  Arrive({1, 2});
  const sim::Nanos start = sim::Now();
  EXPECT_FALSE(port.VerifyEcho(sent, 3, 1, 1000));
  EXPECT_GE(ElapsedMs(start), 1000);
  EXPECT_LT(ElapsedMs(start), 1003);
  EXPECT_EQ(port.BytesAvailable(), 0);
}

TEST_F(SerialTest, PurgeDrainsEverythingWaiting) {
  CSerial port = OpenPort();
  Arrive(std::vector<uint8_t>(250, 0xAA));
  port.Purge();
  EXPECT_EQ(port.BytesAvailable(), 0);
  EXPECT_TRUE(device.input.empty());
}

TEST_F(SerialTest, PurgeOfInputThatNeverStopsEndsWithinItsBound) {
  CSerial port = OpenPort();
  FloodingDevice gps(device);
  sim::Advance(10 * sim::kMs);
  const sim::Nanos start = sim::Now();
  port.Purge();
  EXPECT_GE(ElapsedMs(start), 2000);
  EXPECT_LT(ElapsedMs(start), 2010);
}

TEST_F(SerialTest, VanishedDeviceFailsTransfersAtOnce) {
  CSerial port = OpenPort();
  device.Vanish();
  uint8_t b = 0x05;
  const sim::Nanos start = sim::Now();
  EXPECT_EQ(port.BytesAvailable(), 0);
  EXPECT_EQ(port.Write(&b, 1, 5000), 0);
  EXPECT_EQ(port.Read(&b, 1, 5000), 0);
  EXPECT_LT(ElapsedMs(start), 1);
}

}  // namespace
