// The scanner model on the simulated line, on the virtual clock: what each
// scripted fault puts on the line, and the update mode from ready byte to
// reboot.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "protocol/engine.h"
#include "tests/support/simulated_scanner.h"

namespace {

using Bytes = std::vector<uint8_t>;
const char kPort[] = "\\\\.\\COM3";

struct Window {
  int32_t m_nScannerStatus = 0;
  int32_t m_nScannerVersion = 0;
  uint8_t m_bFactoryVersion = 0;
};

class ModelTest : public ::testing::Test {
 protected:
  ModelTest() { sim::Reset(); }
  ~ModelTest() override { Restart(); }

  // The scanner goes before the simulated world that holds its device.
  void Restart() {
    scanner.reset();
    sim::Reset();
  }

  SimulatedScanner& Connect(scanner::Options options = {}) {
    device = &sim::AddDevice(kPort);
    scanner = std::make_unique<SimulatedScanner>(*device, std::move(options));
    return *scanner;
  }

  std::unique_ptr<CSerial> Open() {
    return std::make_unique<CSerial>(kPort, 19200, 'N', 8, 1, true, false);
  }

  EngineResult QueryVersion(Window& window) {
    auto port = Open();
    CommandQueue queue;
    queue.AddTail(std::make_unique<ScannerCommand>(Enquiry));
    queue.AddTail(std::make_unique<ScannerCommand>(Version));
    const EngineResult result = RunCommandQueue(*port, queue, window);
    platform::Sleep(10);  // bytes still on the wire arrive
    return result;
  }

  // Times at which the scanner's bytes (not the echo) reached the host.
  std::vector<sim::Nanos> ScannerByteTimes() const {
    std::vector<sim::Nanos> times;
    sim::Nanos lastHostByte = 0;
    for (const auto& e : device->log) {
      if (e.fromHost)
        lastHostByte = e.at;
      else if (e.at != lastHostByte)
        times.push_back(e.at);
    }
    return times;
  }

  sim::Device* device = nullptr;
  std::unique_ptr<SimulatedScanner> scanner;
};

scanner::Options WithFaults(scanner::Faults faults) {
  scanner::Options o;
  o.faults = std::move(faults);
  return o;
}

struct FaultCase {
  const char* name;
  scanner::Faults faults;
  EngineError code;
  Bytes fromHost;
  int32_t versionStored;
};

scanner::Faults Fault(void (*set)(scanner::Faults&)) {
  scanner::Faults f;
  set(f);
  return f;
}

TEST_F(ModelTest, EachFaultShowsOnTheLineAsNamed) {
  const Bytes query{0x05, 0x56, 0x06};
  const FaultCase cases[] = {
      {"none", {}, EngineError::None, query, 0x11},
      {"silent", Fault([](auto& f) { f.silent = true; }), EngineError::NoResponse,
       {0x05, 0x05, 0x05}, 0},
      {"two NAKs, then ACK", Fault([](auto& f) { f.nakAnswers = 2; }), EngineError::None,
       {0x05, 0x05, 0x05, 0x56, 0x06}, 0x11},
      {"three NAKs", Fault([](auto& f) { f.nakAnswers = 3; }), EngineError::ErrorReply,
       {0x05, 0x05, 0x05}, 0},
      {"BEL", Fault([](auto& f) { f.belAnswer = true; }), EngineError::FlashWriteError, {0x05}, 0},
      {"stray answer", Fault([](auto& f) { f.strayAnswer = 0x00; }), EngineError::ErrorReply,
       {0x05}, 0},
      {"two bad checksums", Fault([](auto& f) { f.badChecksumReplies = 2; }), EngineError::None,
       {0x05, 0x56, 0x15, 0x15, 0x06}, 0x11},
      {"three bad checksums", Fault([](auto& f) { f.badChecksumReplies = 3; }),
       EngineError::NoResponse, {0x05, 0x56, 0x15, 0x15, 0x06}, 0},
      {"lone NAK reply", Fault([](auto& f) { f.loneNakReply = true; }), EngineError::ErrorReply,
       {0x05, 0x56}, 0},
      {"reply in pieces", Fault([](auto& f) { f.replyInPieces = 3; }), EngineError::None, query,
       0x11},
      // The surplus waits where the echo of the host's ACK is expected.
      {"surplus after reply", Fault([](auto& f) { f.surplusAfterReply = {0xAA, 0xBB}; }),
       EngineError::EchoFailed, query, 0x11},
      {"wrong echo", Fault([](auto& f) { f.wrongEcho = true; }), EngineError::EchoFailed, {0x05},
       0},
      {"no echo", Fault([](auto& f) { f.noEcho = true; }), EngineError::EchoFailed, {0x05}, 0},
      {"endless noise", Fault([](auto& f) { f.endlessNoise = true; }), EngineError::EchoFailed,
       {0x05}, 0},
      {"answer in time", Fault([](auto& f) { f.answerDelayMs = 900; }), EngineError::None, query,
       0x11},
      // Later than all three tries together.
      {"answer too late", Fault([](auto& f) { f.answerDelayMs = 3500; }), EngineError::NoResponse,
       {0x05, 0x05, 0x05}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    Connect(WithFaults(c.faults));
    Window window;
    const EngineResult result = QueryVersion(window);
    EXPECT_EQ(result.code, c.code) << result.message;
    EXPECT_EQ(device->FromHost(), c.fromHost);
    EXPECT_EQ(window.m_nScannerVersion, c.versionStored);
  }
}

TEST_F(ModelTest, EveryNakBringsTheReplyAgain) {
  scanner::Faults f;
  f.badChecksumReplies = 2;
  Connect(WithFaults(f));
  Window window;
  ASSERT_EQ(QueryVersion(window).code, EngineError::None);
  EXPECT_EQ(scanner->model().record().repliesSent, 3);
  EXPECT_EQ(scanner->model().record().versionsRead, 1);
}

TEST_F(ModelTest, ScriptTakesOverTheBytesItChooses) {
  Connect();
  // The enquiry is the model's; 'V' is answered BEL by the script.
  scanner->model().SetScript([](uint8_t byte, scanner::Wire& wire) {
    if (byte != 0x56) return false;
    const uint8_t bel = 0x07;
    wire.Echo(byte);
    wire.Send(&bel, 1);
    return true;
  });
  Window window;
  EXPECT_EQ(QueryVersion(window).code, EngineError::FlashWriteError);
  EXPECT_EQ(device->ToHost(), (Bytes{0x05, 0x06, 0x56, 0x07}));
}

TEST_F(ModelTest, ReplyInPiecesPausesBetweenThePieces) {
  scanner::Faults f;
  f.replyInPieces = 2;
  Connect(WithFaults(f));
  Window window;
  ASSERT_EQ(QueryVersion(window).code, EngineError::None);
  // ENQ's ACK, then 'V''s ACK with STX and status, then the rest later.
  const auto times = ScannerByteTimes();
  ASSERT_EQ(times.size(), 7u);
  EXPECT_GE(times[4] - times[3], 10 * sim::kMs);
  EXPECT_LT(times[3] - times[2], 1 * sim::kMs);
}

TEST_F(ModelTest, SurplusBytesFollowTheReply) {
  scanner::Faults f;
  f.surplusAfterReply = {0xAA, 0xBB};
  Connect(WithFaults(f));
  Window window;
  QueryVersion(window);
  const Bytes toHost = device->ToHost();
  const Bytes tail{0x02, 0x01, 0x11, 0x03, 0x15, 0xAA, 0xBB, 0x06};  // reply, surplus, echo of ACK
  ASSERT_GE(toHost.size(), tail.size());
  EXPECT_EQ(Bytes(toHost.end() - static_cast<std::ptrdiff_t>(tail.size()), toHost.end()), tail);
}

TEST_F(ModelTest, WrongEchoReturnsEveryByteCorrupted) {
  scanner::Faults f;
  f.wrongEcho = true;
  f.silent = true;
  Connect(WithFaults(f));
  auto port = Open();
  const uint8_t sent[] = {0x05, 0x56};
  port->Write(sent, 2, 5000);
  platform::Sleep(10);
  EXPECT_EQ(device->ToHost(), (Bytes{0xFA, 0xA9}));
}

TEST_F(ModelTest, VanishesAfterTheNamedHostByte) {
  scanner::Faults f;
  f.vanishAfter = 2;
  Connect(WithFaults(f));
  auto port = Open();
  const uint8_t sent[] = {0x41, 0x42, 0x43};
  port->Write(sent, 3, 5000);
  platform::Sleep(10);
  EXPECT_TRUE(device->gone);
  EXPECT_TRUE(scanner->model().record().vanished);
  EXPECT_EQ(device->FromHost(), (Bytes{0x41, 0x42}));
  EXPECT_EQ(port->Write(sent, 1, 5000), 0);
}

TEST_F(ModelTest, AnswersOfAnEarlierOpenNeverArrive) {
  scanner::Faults f;
  f.answerDelayMs = 500;
  Connect(WithFaults(f));
  {
    auto port = Open();
    const uint8_t enq = 0x05;
    port->Write(&enq, 1, 5000);
    platform::Sleep(10);
  }
  auto port = Open();
  platform::Sleep(1000);
  EXPECT_EQ(port->BytesAvailable(), 0);
  EXPECT_EQ(device->ToHost(), Bytes{0x05});  // the echo only
  EXPECT_EQ(scanner->model().record().opens, 2);
  EXPECT_EQ(scanner->model().record().closes, 1);
}

TEST_F(ModelTest, TimedActionsOutliveTheModelHarmlessly) {
  scanner::Faults f;
  f.endlessNoise = true;
  Connect(WithFaults(f));
  auto port = Open();
  scanner.reset();
  platform::Sleep(1000);
  EXPECT_EQ(device->peer, nullptr);
}

// The host's side of an upload, paced as the UPDATE handler paces it.
Bytes Header(size_t length) {
  const auto hi = static_cast<uint8_t>(length >> 9);
  const auto lo = static_cast<uint8_t>(length >> 1);
  return {0x66, 0x02, hi, lo, 0x03, static_cast<uint8_t>(hi + lo + 0x03)};
}

bool AwaitReady(CSerial& port, uint32_t limitMs) {
  const uint32_t start = platform::GetTickCount();
  while (platform::GetTickCount() - start < limitMs) {
    uint8_t b = 0;
    if (port.BytesAvailable() > 0 && port.Read(&b, 1, 1000) == 1 && b == 0x55) return true;
    platform::Sleep(1);
  }
  return false;
}

void Upload(CSerial& port, const Bytes& header, const Bytes& image) {
  port.Write(header.data(), static_cast<int>(header.size()), 5000);
  platform::Sleep(200);
  for (size_t sent = 0; sent < image.size(); sent += 100) {
    const int n = static_cast<int>(std::min<size_t>(100, image.size() - sent));
    port.Write(image.data() + sent, n, 5000);
    platform::Sleep(100);
  }
}

Bytes Pattern(size_t size) {
  Bytes image(size);
  for (size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(i * 7);
  return image;
}

scanner::Options InUpdateMode() {
  scanner::Options o;
  o.mode = scanner::Mode::Update;
  o.readyDelayMs = 300;
  return o;
}

TEST_F(ModelTest, UpdateReceivesTheImageAndRebootsWithTheNewVersion) {
  scanner::Options o = InUpdateMode();
  o.status = 3;
  o.newVersion = 0x13;
  Connect(o);
  const Bytes image = Pattern(250);
  {
    auto port = Open();
    const uint32_t opened = platform::GetTickCount();
    ASSERT_TRUE(AwaitReady(*port, 2000));
    EXPECT_GE(platform::GetTickCount() - opened, 300u);
    Upload(*port, Header(image.size()), image);
  }
  const scanner::Record& r = scanner->model().record();
  EXPECT_EQ(r.header, scanner::Header::Good);
  EXPECT_EQ(r.imageSize, 250u);
  EXPECT_EQ(r.image, image);
  EXPECT_TRUE(r.imageComplete);
  // Three chunks of 100, 100 and 50 bytes, each after the host's pause.
  ASSERT_EQ(r.chunks.size(), 3u);
  EXPECT_EQ(r.chunks[1].offset, 100u);
  EXPECT_EQ(r.chunks[2].size, 50u);
  EXPECT_GE(r.chunks[1].atNs - r.chunks[0].atNs, 100 * sim::kMs);
  EXPECT_EQ(scanner->model().mode(), scanner::Mode::Normal);

  Window window;
  EXPECT_EQ(QueryVersion(window).code, EngineError::None);
  EXPECT_EQ(window.m_nScannerVersion, 0x13);
  EXPECT_EQ(window.m_nScannerStatus, 1);
  EXPECT_EQ(scanner->model().status(), 1);
}

TEST_F(ModelTest, BytesBeforeTheReadyByteAreIgnored) {
  Connect(InUpdateMode());
  const Bytes image = Pattern(4);
  auto port = Open();
  const Bytes early = Header(image.size());
  port->Write(early.data(), static_cast<int>(early.size()), 5000);
  ASSERT_TRUE(AwaitReady(*port, 2000));
  Upload(*port, Header(image.size()), image);
  EXPECT_EQ(scanner->model().record().image, image);
}

TEST_F(ModelTest, OddImageLengthAnnouncesWholePairsOnly) {
  Connect(InUpdateMode());
  const Bytes image = Pattern(5);
  auto port = Open();
  ASSERT_TRUE(AwaitReady(*port, 2000));
  Upload(*port, Header(image.size()), image);
  const scanner::Record& r = scanner->model().record();
  EXPECT_EQ(r.imageSize, 4u);
  EXPECT_EQ(r.image, Bytes(image.begin(), image.begin() + 4));
  EXPECT_TRUE(r.imageComplete);
}

TEST_F(ModelTest, BadHeaderIsRecordedAndTheRestIgnored) {
  Connect(InUpdateMode());
  Bytes header = Header(200);
  header[5] ^= 1;
  auto port = Open();
  ASSERT_TRUE(AwaitReady(*port, 2000));
  Upload(*port, header, Pattern(200));
  const scanner::Record& r = scanner->model().record();
  EXPECT_EQ(r.header, scanner::Header::Bad);
  EXPECT_EQ(r.headerBytes, header);
  EXPECT_TRUE(r.image.empty());
  EXPECT_FALSE(r.imageComplete);
  EXPECT_EQ(scanner->model().mode(), scanner::Mode::Update);
}

TEST_F(ModelTest, ReadyByteComesAfterNoiseOrNever) {
  scanner::Options noisy = InUpdateMode();
  noisy.faults.noiseBeforeReady = {0x00, 0xFF};
  Connect(noisy);
  {
    auto port = Open();
    ASSERT_TRUE(AwaitReady(*port, 2000));
  }
  EXPECT_EQ(device->ToHost(), (Bytes{0x00, 0xFF, 0x55}));

  Restart();
  scanner::Options never = InUpdateMode();
  never.readyDelayMs.reset();
  Connect(never);
  auto port = Open();
  EXPECT_FALSE(AwaitReady(*port, 10000));
  EXPECT_TRUE(device->ToHost().empty());
}

TEST_F(ModelTest, UpdateModeFollowsOnlyACompletedVersionQuery) {
  scanner::Options o;
  o.updateAfterTest = true;
  o.faults.badChecksumReplies = 3;  // the first query fails; its last reply is ACKed anyway
  Connect(o);
  Window window;
  EXPECT_EQ(QueryVersion(window).code, EngineError::NoResponse);
  EXPECT_EQ(scanner->model().record().versionsRead, 0);
  EXPECT_EQ(QueryVersion(window).code, EngineError::None);
  EXPECT_EQ(scanner->model().record().versionsRead, 1);

  auto port = Open();
  EXPECT_EQ(scanner->model().mode(), scanner::Mode::Update);
  EXPECT_TRUE(AwaitReady(*port, 2000));
}

}  // namespace
