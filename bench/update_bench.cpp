// update_bench: figures for one whole UPDATE of the carried image over a
// pseudo-terminal, in real time, against the scanner simulator in update
// mode: the wall time against its floor, the CPU time it used and the
// process's peak memory. Prints figures; judges nothing.
//
// The floor is the handler's own pauses: 100 ms after the open, 200 ms after
// the header, 100 ms after each of the 273 chunks. Each Write may add up to
// the line time of its bytes on top (52 ms for 100 bytes), when it does not
// complete within the tick it started in.
//
// The handler opens COM ports only, so the simulator's terminal is linked in
// as one (/dev/ttyS<n>): run it as a user who may write /dev.
#include <sys/resource.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "firmware/firmware_image.h"
#include "platform/backends/headless/headless.h"
#include "platform/window/message_box.h"
#include "resources/resource_ids.h"
#include "tests/integration/com_port_link.h"
#include "tests/support/scanner_process.h"
#include "ui/updater_app.h"
#include "ui/updater_dlg.h"

namespace {

constexpr int kChunk = 100;
constexpr double kCharMs = 1000.0 / 1920.0;

double NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

rusage Usage() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u;
}

double CpuMs(const rusage& u) {
  auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

struct Figures {
  double wallMs = 0;
  double cpuMs = 0;
  long maxRssBeforeKb = 0;
  long maxRssAfterKb = 0;
};

}  // namespace

int main() {
  ScannerProcess scanner({"--mode", "auto"});
  if (scanner.path().empty()) return 1;
  const ComPortLink port(scanner.path());
  if (port.number == 0) {
    std::fprintf(stderr, "update_bench: %s\n", port.problem.c_str());
    return 1;
  }
  std::printf("scanner_sim on %s, reached as COM%d\n", scanner.path().c_str(), port.number);

  bool faulty = false;
  headless::Reset([&faulty](const std::string& fault) {
    std::fprintf(stderr, "update_bench: %s\n", fault.c_str());
    faulty = true;
  });
  Figures figures;
  headless::WhenIdle(kMainDialog, [&](HWND main) {
    static_cast<CUpdaterDlg*>(main->object)
        ->GetDlgItem(kPortList)
        ->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(port.number - 1));
    headless::Click(main, kTestButton);
  });
  headless::WhenIdle(kMainDialog, [&](HWND main) {
    // The simulator goes into update mode once it has seen TEST's close.
    if (!WaitUntil([&] { return scanner.HostCloses() == 1; })) faulty = true;
    const rusage before = Usage();
    const double start = NowMs();
    static_cast<CUpdaterDlg*>(main->object)->OnUpdate();
    figures.wallMs = NowMs() - start;
    const rusage after = Usage();
    figures.cpuMs = CpuMs(after) - CpuMs(before);
    figures.maxRssBeforeKb = before.ru_maxrss;
    figures.maxRssAfterKb = after.ru_maxrss;
    headless::Click(main, kExitButton);
  });
  headless::AnswerNextBox(IDYES);  // the start-up question
  headless::AnswerNextBox(IDOK);   // TEST's information box
  CUpdaterApp app;
  app.InitInstance();

  const uint16_t length = RecordLength(FirmwareImage);
  const std::vector<uint8_t> image(RecordPayload(FirmwareImage),
                                   RecordPayload(FirmwareImage) + length);
  const bool received = WaitUntil([&] { return scanner.Image() == image; });
  if (faulty || headless::Boxes().size() != 2 || !received) {
    std::fprintf(stderr, "update_bench: the upload did not complete (%zu boxes, image %s)\n",
                 headless::Boxes().size(), received ? "received" : "not received");
    return 1;
  }

  const int chunks = (length + kChunk - 1) / kChunk;
  const int lastChunk = length - (chunks - 1) * kChunk;
  const double pauses = 100.0 + 200.0 + chunks * 100.0;
  const double pacing = static_cast<int>(6 * kCharMs) +
                        (chunks - 1) * static_cast<int>(kChunk * kCharMs) +
                        static_cast<int>(lastChunk * kCharMs);
  std::printf("UPDATE of %u bytes in %d chunks\n", length, chunks);
  std::printf("  wall time                      %9.1f ms\n", figures.wallMs);
  std::printf("  floor, pauses alone            %9.1f ms  (wall time %+.1f ms, %+.3f ms a chunk)\n",
              pauses, figures.wallMs - pauses, (figures.wallMs - pauses) / chunks);
  std::printf("  pauses + every write paced     %9.1f ms  (the most pacing adds; wall %+.1f ms)\n",
              pauses + pacing, figures.wallMs - pauses - pacing);
  std::printf("  CPU time (user + system)       %9.1f ms  (%.2f %% of the wall time)\n",
              figures.cpuMs, 100.0 * figures.cpuMs / figures.wallMs);
  std::printf("  peak memory (ru_maxrss)        %9ld kB before, %ld kB after\n",
              figures.maxRssBeforeKb, figures.maxRssAfterKb);
  return 0;
}
