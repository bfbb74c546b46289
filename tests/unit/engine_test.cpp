#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/sim/sim.h"
#include "protocol/engine.h"
#include "tests/unit/flooding_device.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr char kPort[] = "\\\\.\\COM1";
const Bytes kGoodReply = {0x06, 0x02, 0x01, 0x92, 0x03, 0x96};  // ACK, then status 1, version 0x92
const Bytes kBadReply = {0x06, 0x02, 0x01, 0x92, 0x03, 0x00};   // wrong checksum

// One move of the scanner: after `hostBytes` more bytes from the host (0:
// right after the previous move), wait `delayMs`, then send `answer` at line
// rate, or all at once when `atOnce` is set.
struct Move {
  int hostBytes;
  uint32_t delayMs;
  Bytes answer;
  bool atOnce = false;
};

// The echoing cable and a scanner that follows a script.
class ScriptedScanner : public sim::Peer {
 public:
  ScriptedScanner(sim::Device& device, std::vector<Move> moves)
      : device(device), moves(std::move(moves)) {
    device.peer = this;
  }
  ~ScriptedScanner() override { device.peer = nullptr; }
  ScriptedScanner(const ScriptedScanner&) = delete;
  ScriptedScanner& operator=(const ScriptedScanner&) = delete;

  int wrongEchoAt = -1;  // index of the host byte whose echo comes back wrong
  bool noEcho = false;

  void OnHostByte(uint8_t b) override {
    const int index = hostBytes++;
    if (!noEcho) device.EchoToHost(index == wrongEchoAt ? static_cast<uint8_t>(b ^ 0xFF) : b);
    if (next >= moves.size() || ++seen < moves[next].hostBytes) return;
    seen = 0;
    sim::Nanos at = sim::Now();
    do {
      const Move& m = moves[next++];
      at += m.delayMs * sim::kMs;
      sim::At(at, [this, m] {
        if (m.atOnce) {
          for (uint8_t a : m.answer) device.EchoToHost(a);
        } else if (!m.answer.empty()) {
          device.SendToHost(m.answer.data(), m.answer.size());
        }
      });
    } while (next < moves.size() && moves[next].hostBytes == 0);
  }

 private:
  sim::Device& device;
  std::vector<Move> moves;
  size_t next = 0;
  int seen = 0;
  int hostBytes = 0;
};

struct Window {
  int32_t m_nScannerStatus = 0;
  int32_t m_nScannerVersion = 0;
  uint8_t m_bFactoryVersion = 0;
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : device((sim::Reset(), sim::AddDevice(kPort))) {}
  void TearDown() override { sim::Reset(); }

  void Queue(CommandType kind) { queue.AddTail(std::make_unique<ScannerCommand>(kind)); }
  void Queue(std::unique_ptr<ScannerCommand> c) { queue.AddTail(std::move(c)); }

  EngineResult RunQueue() {
    CSerial port(kPort, 19200, 'N', 8, 1, true, false);
    start = sim::Now();
    EngineResult result = RunCommandQueue(port, queue, window);
    elapsedMs = static_cast<double>(sim::Now() - start) / sim::kMs;
    return result;
  }

  // Times at which the host's bytes left the wire, in ms from the run's start.
  std::vector<double> HostByteTimes() const {
    std::vector<double> times;
    for (const auto& e : device.log)
      if (e.fromHost) times.push_back(static_cast<double>(e.at - start) / sim::kMs);
    return times;
  }

  sim::Device& device;
  CommandQueue queue;
  Window window;
  sim::Nanos start = 0;
  double elapsedMs = 0;
};

TEST_F(EngineTest, EmptyQueuePausesPurgesAndSendsNothing) {
  device.input = {1, 2, 3};
  const EngineResult r = RunQueue();
  EXPECT_EQ(r.code, EngineError::None);
  EXPECT_EQ(r.message, "");
  EXPECT_TRUE(device.FromHost().empty());
  EXPECT_TRUE(device.input.empty());
  EXPECT_NEAR(elapsedMs, 200, 1);
}

TEST_F(EngineTest, VersionExchangeStoresTheReplyAndAcknowledgesIt) {
  ScriptedScanner scanner(device, {{1, 5, {0x06}}, {1, 5, kGoodReply}});
  Queue(Enquiry);
  Queue(Version);
  const EngineResult r = RunQueue();
  EXPECT_EQ(r.code, EngineError::None);
  EXPECT_EQ(r.message, "");
  EXPECT_EQ(device.FromHost(), (Bytes{0x05, 0x56, 0x06}));
  EXPECT_EQ(window.m_nScannerStatus, 1);
  EXPECT_EQ(window.m_nScannerVersion, 0x12);
  EXPECT_EQ(window.m_bFactoryVersion, 1);
  EXPECT_EQ(queue.GetCount(), 0);
}

struct ExchangeCase {
  const char* name;
  std::vector<Move> moves;
  EngineError code;
  Bytes fromHost;
};

TEST_F(EngineTest, AnswersRetriesAndRepliesEndAsTheProtocolSays) {
  const ExchangeCase cases[] = {
      {"silent scanner: three tries, no ACK or NAK from the host", {}, EngineError::NoResponse,
       {0x05, 0x05, 0x05}},
      {"NAK twice then ACK goes on",
       {{1, 5, {0x15}}, {1, 5, {0x15}}, {1, 5, {0x06}}, {1, 5, kGoodReply}}, EngineError::None,
       {0x05, 0x05, 0x05, 0x56, 0x06}},
      {"a third NAK ends the run", {{1, 5, {0x15}}, {1, 5, {0x15}}, {1, 5, {0x15}}},
       EngineError::ErrorReply, {0x05, 0x05, 0x05}},
      {"BEL fails at once", {{1, 5, {0x07}}}, EngineError::FlashWriteError, {0x05}},
      {"any other answer fails at once", {{1, 5, {0x00}}}, EngineError::ErrorReply, {0x05}},
      {"two bad replies are refused, the third is good",
       {{1, 5, {0x06}}, {1, 5, kBadReply}, {1, 5, Bytes(kBadReply.begin() + 1, kBadReply.end())},
        {1, 5, Bytes(kGoodReply.begin() + 1, kGoodReply.end())}},
       EngineError::None, {0x05, 0x56, 0x15, 0x15, 0x06}},
      {"three bad replies: the last is acknowledged, then the run gives up",
       {{1, 5, {0x06}}, {1, 5, kBadReply}, {1, 5, Bytes(kBadReply.begin() + 1, kBadReply.end())},
        {1, 5, Bytes(kBadReply.begin() + 1, kBadReply.end())}},
       EngineError::NoResponse, {0x05, 0x56, 0x15, 0x15, 0x06}},
      {"a time-out and two bad replies share one count",
       {{1, 5, {0x06}}, {1, 0, {}}, {1, 5, kBadReply},
        {1, 5, Bytes(kBadReply.begin() + 1, kBadReply.end())}},
       EngineError::NoResponse, {0x05, 0x56, 0x56, 0x15, 0x06}},
      {"a lone NAK as the reply is a refusal", {{1, 5, {0x06}}, {1, 5, {0x06}}, {0, 20, {0x15}}},
       EngineError::ErrorReply, {0x05, 0x56}},
      {"a NAK with more bytes behind it is a bad reply",
       {{1, 5, {0x06}}, {1, 5, {0x06}}, {0, 20, {0x15, 0x01, 0x12, 0x03, 0x16}, true}},
       EngineError::NoResponse, {0x05, 0x56, 0x15}},
      {"a reply in pieces is assembled",
       {{1, 5, {0x06}}, {1, 5, {0x06}}, {0, 20, {0x02, 0x01, 0x92}, true},
        {0, 20, {0x03, 0x96}, true}},
       EngineError::None, {0x05, 0x56, 0x06}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Reset();
    sim::Device& d = sim::AddDevice(kPort);
    ScriptedScanner scanner(d, c.moves);
    CommandQueue q;
    q.AddTail(std::make_unique<ScannerCommand>(Enquiry));
    q.AddTail(std::make_unique<ScannerCommand>(Version));
    Window w;
    CSerial port(kPort, 19200, 'N', 8, 1, true, false);
    const EngineResult r = RunCommandQueue(port, q, w);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.message, EngineMessage(c.code));
    EXPECT_EQ(r.message.empty(), c.code == EngineError::None);
    EXPECT_EQ(d.FromHost(), c.fromHost);
    if (c.code == EngineError::None) {
      EXPECT_EQ(w.m_nScannerVersion, 0x12);
    }
  }
}

TEST_F(EngineTest, SilentScannerGetsTheFrameThreeTimesAboutASecondApart) {
  ScriptedScanner scanner(device, {});
  Queue(Enquiry);
  EXPECT_EQ(RunQueue().code, EngineError::NoResponse);
  const std::vector<double> t = HostByteTimes();
  ASSERT_EQ(t.size(), 3u);
  EXPECT_NEAR(t[1] - t[0], 1000, 10);
  EXPECT_NEAR(t[2] - t[1], 1000, 10);
  EXPECT_NEAR(elapsedMs - t[2], 1000, 10);
}

TEST_F(EngineTest, WrongOrMissingEchoFails) {
  struct Case {
    const char* name;
    int wrongEchoAt;
    bool noEcho;
    std::vector<Move> moves;
    Bytes fromHost;
  };
  const Case cases[] = {
      {"echo of the frame", 0, false, {}, {0x05}},
      {"echo of the closing ACK", 2, false, {{1, 5, {0x06}}, {1, 5, kGoodReply}},
       {0x05, 0x56, 0x06}},
      {"echo of the NAK after a bad reply", 2, false, {{1, 5, {0x06}}, {1, 5, kBadReply}},
       {0x05, 0x56, 0x15}},
      {"no echo at all", -1, true, {}, {0x05}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::Reset();
    sim::Device& d = sim::AddDevice(kPort);
    ScriptedScanner scanner(d, c.moves);
    scanner.wrongEchoAt = c.wrongEchoAt;
    scanner.noEcho = c.noEcho;
    CommandQueue q;
    q.AddTail(std::make_unique<ScannerCommand>(Enquiry));
    q.AddTail(std::make_unique<ScannerCommand>(Version));
    Window w;
    CSerial port(kPort, 19200, 'N', 8, 1, true, false);
    const EngineResult r = RunCommandQueue(port, q, w);
    EXPECT_EQ(r.code, EngineError::EchoFailed);
    EXPECT_EQ(r.message, EngineMessage(EngineError::EchoFailed));
    EXPECT_EQ(d.FromHost(), c.fromHost);
  }
}

TEST_F(EngineTest, ReplyStoredBeforeAFailedClosingEchoStaysOnTheWindow) {
  // A surplus byte behind the reply is not taken into it; it then stands in
  // front of the echo of the host's ACK.
  ScriptedScanner scanner(device, {{1, 5, {0x06}}, {1, 5, {0x06}},
                                   {0, 10, {0x02, 0x01, 0x92, 0x03, 0x96, 0xAA}, true}});
  Queue(Enquiry);
  Queue(Version);
  const EngineResult r = RunQueue();
  sim::Advance(10 * sim::kMs);  // let the ACK finish leaving the wire
  EXPECT_EQ(r.code, EngineError::EchoFailed);
  EXPECT_EQ(window.m_nScannerStatus, 1);
  EXPECT_EQ(window.m_nScannerVersion, 0x12);
  EXPECT_EQ(device.FromHost(), (Bytes{0x05, 0x56, 0x06}));
}

TEST_F(EngineTest, SlowCommandsWaitTenSecondsForTheirAnswer) {
  auto write = std::make_unique<ScannerCommand>(WriteFolder);
  write->folder = 0;
  write->length = 16;
  Queue(std::move(write));
  ScriptedScanner scanner(device, {{7, 9000, {0x06}}});
  EXPECT_EQ(RunQueue().code, EngineError::None);
  EXPECT_EQ(device.FromHost().size(), 7u);
}

TEST_F(EngineTest, AnAnswerAfterOneAndAHalfSecondsIsATimeOut) {
  Queue(Enquiry);
  ScriptedScanner scanner(device, {{1, 1500, {0x06}}});
  EXPECT_EQ(RunQueue().code, EngineError::None);
  // The frame went out again before the late answer was taken.
  EXPECT_EQ(device.FromHost(), (Bytes{0x05, 0x05}));
}

TEST_F(EngineTest, ReadFolderReplyLimitGrowsWithItsLength) {
  struct Case {
    int32_t length;
    double limitMs;
  };
  for (const Case c : {Case{1, 1001}, Case{32704, 35066}}) {
    SCOPED_TRACE(c.length);
    sim::Reset();
    sim::Device& d = sim::AddDevice(kPort);
    ScriptedScanner scanner(d, {{9, 0, {0x06}}});
    auto read = std::make_unique<ScannerCommand>(ReadFolder);
    read->folder = 1;
    read->offset = 0;
    read->length = c.length;
    CommandQueue q;
    q.AddTail(std::move(read));
    Window w;
    CSerial port(kPort, 19200, 'N', 8, 1, true, false);
    EXPECT_EQ(RunCommandQueue(port, q, w).code, EngineError::NoResponse);
    const sim::Nanos ackAt = d.log.back().at;  // the scanner's ACK, the last byte on the wire
    EXPECT_NEAR(static_cast<double>(sim::Now() - ackAt) / sim::kMs, c.limitMs, 6);
  }
}

TEST_F(EngineTest, ReadFolderReplyJustInsideItsLimitIsTaken) {
  // 1 data byte: the whole reply has 1001 ms after the answer.
  ScriptedScanner scanner(device, {{9, 0, {0x06}}, {0, 998, {0x02, 0x41, 0x03, 0x44}, true}});
  auto read = std::make_unique<ScannerCommand>(ReadFolder);
  read->folder = 1;
  read->offset = 0;
  read->length = 1;
  Queue(std::move(read));
  EXPECT_EQ(RunQueue().code, EngineError::None);
}

TEST_F(EngineTest, AFailureLeavesTheRecordsBehindItQueued) {
  ScriptedScanner scanner(device, {{1, 5, {0x07}}});
  Queue(Enquiry);
  Queue(Version);
  EXPECT_EQ(RunQueue().code, EngineError::FlashWriteError);
  ASSERT_EQ(queue.GetCount(), 1);
  EXPECT_EQ(queue.RemoveHead()->kind, Version);
}

TEST_F(EngineTest, PurgeThatRaisesEndsTheRunQuietly) {
  device.purgeThrows = true;
  Queue(Enquiry);
  Queue(Version);
  const EngineResult r = RunQueue();
  EXPECT_EQ(r.code, EngineError::None);
  EXPECT_EQ(r.message, "");
  EXPECT_TRUE(device.FromHost().empty());
  EXPECT_EQ(queue.GetCount(), 2);
  EXPECT_EQ(window.m_nScannerStatus, 0);
}

TEST_F(EngineTest, PortThatTakesNothingEndsTheRunAfterFiveSeconds) {
  for (const bool vanished : {false, true}) {
    SCOPED_TRACE(vanished ? "device gone" : "writes take nothing");
    sim::Reset();
    sim::Device& d = sim::AddDevice(kPort);
    CommandQueue q;
    q.AddTail(std::make_unique<ScannerCommand>(Enquiry));
    Window w;
    CSerial port(kPort, 19200, 'N', 8, 1, true, false);
    if (vanished) d.Vanish();
    else d.writeMode = sim::WriteMode::Nothing;
    const sim::Nanos t0 = sim::Now();
    EXPECT_EQ(RunCommandQueue(port, q, w).code, EngineError::NoResponse);
    EXPECT_NEAR(static_cast<double>(sim::Now() - t0) / sim::kMs, 5200, 10);
  }
}

TEST_F(EngineTest, DeviceThatNeverStopsSendingEndsWithAnEchoFailure) {
  FloodingDevice gps(device);
  Queue(Enquiry);
  EXPECT_EQ(RunQueue().code, EngineError::EchoFailed);
  EXPECT_GE(elapsedMs, 200 + 2000);
  EXPECT_LT(elapsedMs, 200 + 2000 + 10);
}

}  // namespace
