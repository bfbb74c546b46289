// The upload against a line whose writes stall, fail, vanish or take partial
// counts, and whose input is noise. Each run must end within the time its
// limits allow, report completion only when every byte went out exactly
// once, and close the port and the progress window whatever happens.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "firmware/upload.h"
#include "platform/backends/headless/headless.h"
#include "platform/backends/sim/sim.h"
#include "platform/window/message_box.h"
#include "resources/resource_ids.h"
#include "ui/updater_dlg.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "upload fuzz: %s\n", what);
  std::abort();
}

// The scanner in update mode: noise, then perhaps the ready byte.
class ReadySender : public sim::Peer {
 public:
  ReadySender(sim::Device& device, FuzzedDataProvider& in)
      : device(device),
        noise(in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange<int>(0, 16))),
        delayMs(in.ConsumeIntegralInRange<uint32_t>(0, 2500)),
        ready(in.ConsumeBool()),
        echo(in.ConsumeBool()) {
    device.peer = this;
  }
  ~ReadySender() override { device.peer = nullptr; }
  ReadySender(const ReadySender&) = delete;
  ReadySender& operator=(const ReadySender&) = delete;

  void OnHostOpen() override {
    sim::At(sim::Now() + delayMs * sim::kMs, [this] {
      if (!noise.empty()) device.SendToHost(noise.data(), noise.size());
      const uint8_t u = 0x55;
      if (ready) device.SendToHost(&u, 1);
    });
  }
  void OnHostByte(uint8_t b) override {
    if (echo) device.EchoToHost(b);
  }

 private:
  sim::Device& device;
  std::vector<uint8_t> noise;
  uint32_t delayMs;
  bool ready;
  bool echo;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::Reset();
  headless::Reset([](const std::string& fault) {
    std::fprintf(stderr, "upload fuzz: window fault: %s\n", fault.c_str());
    std::abort();
  });
  FuzzedDataProvider in(data, size);

  // A small image record: version, reserved, length (even), payload.
  const uint16_t length = static_cast<uint16_t>(2 * in.ConsumeIntegralInRange<int>(0, 300));
  std::vector<uint8_t> record(4 + length);
  record[0] = 0x12;
  record[2] = static_cast<uint8_t>(length);
  record[3] = static_cast<uint8_t>(length >> 8);
  for (size_t i = 4; i < record.size(); ++i) record[i] = static_cast<uint8_t>(i * 7);

  sim::Device& device = sim::AddDevice("\\\\.\\COM1");
  ReadySender scanner(device, in);
  device.beforeWrite = [&device, &in] {
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
      case 0: device.writeMode = sim::WriteMode::Stall; break;
      case 1: device.writeMode = sim::WriteMode::Nothing; break;
      case 2:
        device.writeMode = sim::WriteMode::Partial;
        device.partialCount = in.ConsumeIntegralInRange<uint32_t>(1, 100);
        break;
      case 3:
        device.writeMode = sim::WriteMode::Slow;
        device.writeTakesMs = in.ConsumeIntegralInRange<uint32_t>(0, 6000);
        break;
      case 4:
        if (in.ConsumeIntegralInRange<int>(0, 15) == 0) device.Vanish();
        break;
      default: device.writeMode = sim::WriteMode::Normal; break;
    }
  };

  headless::AnswerNextBox(IDYES);  // the start-up question
  CUpdaterDlg window;
  Check(window.Create(kMainDialog), "main window not created");
  window.m_nPortIndex = 0;
  headless::AnswerNextBox(IDOK);
  const size_t boxesBefore = headless::Boxes().size();

  const sim::Nanos start = sim::Now();
  UploadImage(window, record.data());
  const sim::Nanos took = sim::Now() - start;

  // Between two bytes taken, at most the stall limit, one write's limit and
  // its pacing, and one pause.
  const uint64_t perByteMs = 5000 + 5000 + 60 + 200;
  const uint64_t boundMs = 100 + 2000 + 1000 + (6 + length + 2) * perByteMs;
  Check(took <= boundMs * sim::kMs, "upload outlasted its limits");
  Check(!device.open, "port left open");
  Check(headless::FindDialog(kProgressDialog) == nullptr, "progress window left open");
  Check(headless::WaitCursorDepth() == 0, "wait cursor left on");

  sim::Advance(1000 * sim::kMs);  // let the last bytes leave the wire
  const bool complete = headless::Control(window.m_hWnd, kCompletionNote)->visible;
  const bool failureShown = headless::Boxes().size() > boxesBefore;
  Check(complete != failureShown, "neither completion nor a failure, or both");
  if (failureShown) Check(headless::Boxes().back().style == (MB_ICONEXCLAMATION | MB_OK), "style");
  if (complete) {
    std::vector<uint8_t> expected = {0x66, 0x02, static_cast<uint8_t>(length >> 9),
                                     static_cast<uint8_t>(length >> 1), 0x03, 0};
    expected[5] = static_cast<uint8_t>(expected[2] + expected[3] + 0x03);
    expected.insert(expected.end(), record.begin() + 4, record.end());
    Check(device.FromHost() == expected, "completion reported without every byte sent once");
  }
  window.DestroyWindow();
  return 0;
}
