// The command engine against a scanner whose every byte, delay and echo comes
// from the fuzzer's input. Each run must end within the time its limits allow,
// report one of the five outcomes with its own text, release what it took and
// leave the records it never reached in the queue, in order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/backends/sim/sim.h"
#include "protocol/engine.h"
#include "protocol/frame.h"

namespace {

constexpr char kPort[] = "\\\\.\\COM1";

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "engine fuzz: %s\n", what);
  std::abort();
}

std::unique_ptr<ScannerCommand> MakeRecord(FuzzedDataProvider& in) {
  auto c = std::make_unique<ScannerCommand>(
      static_cast<CommandType>(in.ConsumeIntegralInRange<int32_t>(0, 7)));
  c->folder = in.ConsumeIntegralInRange<int32_t>(-1, 11);
  c->offset = in.ConsumeIntegralInRange<int32_t>(-1, 32704);
  c->length = in.ConsumeIntegralInRange<int32_t>(-1, c->kind == Data ? 300 : 32705);
  if (c->kind == Data && c->length > 0) c->data = in.ConsumeBytes<uint8_t>(c->length);
  c->retryLimit = in.ConsumeIntegralInRange<int32_t>(1, 4);
  return c;
}

// The longest a record can keep the engine, in ms: every try of the frame
// with each chunk's write and echo limits and the answer limit, then every
// try of the reply with the host's answer to it.
uint64_t RecordBoundMs(const ScannerCommand& c) {
  const uint64_t chunks = (static_cast<uint64_t>(FrameSize(c)) + 99) / 100;
  const uint64_t answer = c.kind == WriteFolder || c.kind == FolderE ? 10000 : 1000;
  const uint64_t reply = c.kind == ReadFolder ? 2000ull * c.length / 1920 + 1000 : 1000;
  const uint64_t tries = static_cast<uint64_t>(c.retryLimit);
  return tries * (chunks * (5000 + 60 + 1000) + 5000 + answer + 10) +
         tries * (reply + 5000 + 60 + 1000 + 10);
}

// The cable and the scanner, both driven by the fuzzer's bytes.
class FuzzedScanner : public sim::Peer {
 public:
  FuzzedScanner(sim::Device& device, FuzzedDataProvider& in) : device(device), in(in) {
    device.peer = this;
    const auto noise = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<int>(0, 8));
    if (!noise.empty()) device.SendToHost(noise.data(), noise.size());
  }

  void OnHostByte(uint8_t b) override {
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
      case 0: break;  // no echo
      case 1: device.EchoToHost(static_cast<uint8_t>(b ^ in.ConsumeIntegralInRange<int>(1, 255))); break;
      default: device.EchoToHost(b); break;
    }
    std::vector<uint8_t> answer;
    switch (in.ConsumeIntegralInRange<int>(0, 6)) {
      case 0: break;
      case 1: answer = {0x06}; break;
      case 2: answer = {0x15}; break;
      case 3: answer = {0x07}; break;
      case 4: {
        const uint8_t status = in.ConsumeIntegral<uint8_t>();
        const uint8_t version = in.ConsumeIntegral<uint8_t>();
        answer = {0x06, 0x02, status, version, 0x03,
                  static_cast<uint8_t>(status + version + 0x03)};
        break;
      }
      case 5: answer = {0x02, 0x01, 0x12, 0x03, 0x16}; break;
      default: answer = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<int>(1, 8)); break;
    }
    if (answer.empty()) return;
    const sim::Nanos delay = in.ConsumeIntegralInRange<uint32_t>(0, 12000) * sim::kMs;
    const bool atOnce = in.ConsumeBool();
    sim::At(sim::Now() + delay, [this, answer, atOnce] {
      if (atOnce) {
        for (uint8_t a : answer) device.EchoToHost(a);
      } else {
        device.SendToHost(answer.data(), answer.size());
      }
    });
  }

 private:
  sim::Device& device;
  FuzzedDataProvider& in;
};

struct Window {
  int32_t m_nScannerStatus = 0;
  int32_t m_nScannerVersion = 0;
  uint8_t m_bFactoryVersion = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::Reset();
  FuzzedDataProvider in(data, size);
  sim::Device& device = sim::AddDevice(kPort);

  CommandQueue queue;
  std::vector<const ScannerCommand*> queued;
  uint64_t boundMs = 200 + 2000 + 1000 + 10;  // pause, purge and the read under way
  const int count = in.ConsumeIntegralInRange<int>(0, 4);
  for (int i = 0; i < count; ++i) {
    auto c = MakeRecord(in);
    if (FrameSize(*c) == 0) continue;
    boundMs += RecordBoundMs(*c);
    queued.push_back(c.get());
    queue.AddTail(std::move(c));
  }

  FuzzedScanner scanner(device, in);
  Window window;
  CSerial port(kPort, 19200, 'N', 8, 1, true, false);
  const sim::Nanos start = sim::Now();
  const EngineResult result = RunCommandQueue(port, queue, window);

  Check(sim::Now() - start <= boundMs * sim::kMs, "run outlasted its limits");
  const int code = static_cast<int>(result.code);
  Check(code >= 0 && code <= 4, "unknown outcome");
  Check(result.message == EngineMessage(result.code), "message does not belong to the outcome");
  Check(result.message.empty() == (result.code == EngineError::None), "message empty iff None");
  Check(result.code != EngineError::None || queue.GetCount() == 0, "success left records");
  // What is left is the untaken tail of the queue, in order.
  const size_t left = static_cast<size_t>(queue.GetCount());
  Check(left <= queued.size(), "queue grew");
  for (size_t i = queued.size() - left; i < queued.size(); ++i) {
    auto head = queue.RemoveHead();
    Check(head.get() == queued[i], "records left out of order");
  }
  Check(window.m_nScannerVersion >= 0 && window.m_nScannerVersion <= 127, "version out of range");
  return 0;
}
