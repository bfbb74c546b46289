// link_bench: figures for the serial link over a pseudo-terminal, in real
// time, against the scanner simulator answering at once.
//
// 1. A version query (ENQ, then 'V') through the command engine: wall time
//    against its floor (the engine's 200 ms opening pause plus the line time
//    of the bytes that must cross the wire one after another), and the CPU
//    time the run used.
// 2. 100-byte CSerial::Write calls, which pace themselves to the 52 ms the
//    bytes take on the line: how often a Write on this device is paced at
//    all, and how far a paced Write overshoots its end.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "protocol/engine.h"
#include "tests/support/scanner_process.h"

namespace {

constexpr int kQueryRuns = 10;
constexpr size_t kWrites = 50;
constexpr int kMaxAlignedAttempts = 1000;
constexpr int kChunk = 100;
constexpr double kCharMs = 1000.0 / 1920.0;
constexpr double kWriteLineMs = kChunk * kCharMs;  // 52.08 ms; CSerial paces to 52
// Bytes that cross the wire one after another in a version query: ENQ, its
// ACK, 'V', its ACK and the five-byte reply, the host's ACK. Echoes travel
// alongside the host's bytes.
constexpr int kQueryLineBytes = 10;
constexpr double kQueryFloorMs = 200.0 + kQueryLineBytes * kCharMs;

struct Window {
  int32_t m_nScannerStatus = 0;
  int32_t m_nScannerVersion = 0;
  uint8_t m_bFactoryVersion = 0;
};

double NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double CpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

struct Spread {
  double min, median, max;
};

Spread Of(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v.front(), v[v.size() / 2], v.back()};
}

void Print(const char* what, const Spread& s) {
  std::printf("  %-34s min %8.3f  median %8.3f  max %8.3f ms\n", what, s.min, s.median, s.max);
}

std::unique_ptr<CSerial> OpenPort(const std::string& path) {
  try {
    return std::make_unique<CSerial>(path.c_str(), 19200, 'N', 8, 1, true, false);
  } catch (...) {
    std::fprintf(stderr, "link_bench: cannot open %s\n", path.c_str());
    return nullptr;
  }
}

bool BenchQuery(const std::string& path) {
  std::vector<double> wall, cpu;
  for (int i = 0; i < kQueryRuns; ++i) {
    auto port = OpenPort(path);
    if (!port) return false;
    CommandQueue queue;
    queue.AddTail(std::make_unique<ScannerCommand>(Enquiry));
    queue.AddTail(std::make_unique<ScannerCommand>(Version));
    Window window;
    const double cpu0 = CpuMs();
    const double t0 = NowMs();
    const EngineResult result = RunCommandQueue(*port, queue, window);
    wall.push_back(NowMs() - t0);
    cpu.push_back(CpuMs() - cpu0);
    if (result.code != EngineError::None) {
      std::fprintf(stderr, "link_bench: version query failed: %s\n", result.message.c_str());
      return false;
    }
  }
  std::printf("Version query through the engine, %d runs (floor %.3f ms: 200 ms pause + %d "
              "characters)\n",
              kQueryRuns, kQueryFloorMs, kQueryLineBytes);
  Print("wall time", Of(wall));
  std::vector<double> over;
  for (double w : wall) over.push_back(w - kQueryFloorMs);
  Print("above the floor", Of(over));
  Print("CPU time (user + system)", Of(cpu));
  return true;
}

// Waits until the millisecond tick is about to change, so that a Write
// started now ends in the next tick: elapsed is then 1 and CSerial pauses
// for the other 51 ms.
void AlignToTickEnd() {
  for (;;) {
    const double ms = NowMs();
    if (ms - static_cast<double>(static_cast<uint64_t>(ms)) > 0.99) return;
  }
}

bool BenchWrites(const std::string& path) {
  auto port = OpenPort(path);
  if (!port) return false;
  const std::vector<uint8_t> chunk(kChunk, 0x41);

  // Writes started at any moment: the device takes 100 bytes at once, so
  // most complete within the tick they started in and are not paced.
  int paced = 0;
  std::vector<double> unaligned;
  for (size_t i = 0; i < kWrites; ++i) {
    const double t0 = NowMs();
    if (port->Write(chunk.data(), kChunk, 5000) != kChunk) return false;
    const double took = NowMs() - t0;
    unaligned.push_back(took);
    paced += took >= 1.0;
    port->Purge();
    platform::Sleep(static_cast<uint32_t>(kWriteLineMs) + 1);  // let the line drain
  }
  std::printf("\n100-byte Write at any moment, %zu writes (line time %.3f ms)\n", kWrites,
              kWriteLineMs);
  Print("duration", Of(unaligned));
  std::printf("  paced (took 1 ms or more): %d of %zu\n", paced, kWrites);

  // Writes that end in the tick after the one they started in: paced to
  // end 52 ms after the start of their first tick.
  std::vector<double> took, overshoot;
  for (int attempt = 0; attempt < kMaxAlignedAttempts && took.size() < kWrites; ++attempt) {
    AlignToTickEnd();
    const double t0 = NowMs();
    const double tickStart = static_cast<double>(static_cast<uint64_t>(t0));
    if (port->Write(chunk.data(), kChunk, 5000) != kChunk) return false;
    const double t1 = NowMs();
    port->Purge();
    if (t1 - t0 < 1.0) continue;  // finished within its tick after all: not paced
    took.push_back(t1 - t0);
    overshoot.push_back(t1 - (tickStart + 52.0));
  }
  std::printf("\n100-byte Write taking between 1 and 52 ms, %zu writes\n", took.size());
  if (took.empty()) return true;
  Print("duration", Of(took));
  Print("end beyond start tick + 52 ms", Of(overshoot));
  return true;
}

}  // namespace

int main() {
  ScannerProcess scanner;
  if (scanner.path().empty()) return 1;
  std::printf("scanner_sim on %s\n\n", scanner.path().c_str());
  if (!BenchQuery(scanner.path()) || !BenchWrites(scanner.path())) return 1;
  return 0;
}
