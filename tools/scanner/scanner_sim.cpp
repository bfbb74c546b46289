// scanner_sim: a simulated PRO-96 with its echoing cable on a pseudo-terminal,
// in real time. Prints the path of the terminal that the host opens, then
// answers on it until SIGTERM or SIGINT.
//
// The host's bytes reach the model at the line rate of 19200 bits per
// second, 8N1, as through a real cable; the scanner's own bytes leave at the
// same rate, and the cable's echo comes back at once.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/scanner/scanner_model.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

void OnStopSignal(int) { stopRequested = 1; }

uint64_t MonotonicNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<uint64_t>(t.tv_sec) * 1000000000u + static_cast<uint64_t>(t.tv_nsec);
}

// While nobody has the terminal open the master reports a hang-up at once,
// so the loop sleeps this long between looks instead of waiting in poll.
constexpr uint64_t kHungUpLookNs = 10 * scanner::kMsNs;
// The longest wait for the host while nothing is due.
constexpr uint64_t kLongestWaitNs = 1000 * scanner::kMsNs;

timespec Duration(uint64_t ns) {
  return timespec{static_cast<time_t>(ns / 1000000000u), static_cast<long>(ns % 1000000000u)};
}

struct Byte {
  uint64_t due;
  uint8_t value;
};

// The model's line on the pseudo-terminal's master side.
class TerminalWire : public scanner::Wire {
 public:
  TerminalWire(int master, FILE* log) : master_(master), log_(log), start_(MonotonicNs()) {}

  uint64_t NowNs() override { return MonotonicNs() - start_; }

  void Echo(uint8_t byte) override { Put(byte); }

  void Send(const uint8_t* bytes, size_t count) override {
    uint64_t t = txFree_ > NowNs() ? txFree_ : NowNs();
    for (size_t i = 0; i < count; ++i) {
      t += scanner::kCharTimeNs;
      tx_.push_back({t, bytes[i]});
    }
    txFree_ = t;
  }

  void After(uint64_t delayNs, std::function<void()> fn) override {
    timers_.emplace(NowNs() + delayNs, std::move(fn));
  }

  void Vanish() override { vanished_ = true; }

  // One line of the log: the time in ms since the start, who, what.
  void LogLine(const char* who, const char* what) {
    if (log_ == nullptr) return;
    std::fprintf(log_, "%.3f %s %s\n", static_cast<double>(NowNs()) / 1e6, who, what);
    std::fflush(log_);
  }

  bool vanished() const { return vanished_; }

  // Bytes the host wrote, read from the master: each arrives one character
  // time after the one before it.
  void Receive(const uint8_t* bytes, size_t count) {
    uint64_t t = rxFree_ > NowNs() ? rxFree_ : NowNs();
    for (size_t i = 0; i < count; ++i) {
      t += scanner::kCharTimeNs;
      rx_.push_back({t, bytes[i]});
    }
    rxFree_ = t;
  }

  // Runs everything that is due: arrived host bytes, timed actions, bytes
  // the transmitter has finished. Returns the time of the next thing to do.
  uint64_t RunDue(scanner::Model& model) {
    for (;;) {
      const uint64_t now = NowNs();
      if (!rx_.empty() && rx_.front().due <= now) {
        const uint8_t b = rx_.front().value;
        rx_.pop_front();
        LogByte(true, b);
        model.OnHostByte(b);
      } else if (!timers_.empty() && timers_.begin()->first <= now) {
        auto fn = std::move(timers_.begin()->second);
        timers_.erase(timers_.begin());
        fn();
      } else if (!tx_.empty() && tx_.front().due <= now) {
        const uint8_t b = tx_.front().value;
        tx_.pop_front();
        Put(b);
      } else {
        uint64_t next = UINT64_MAX;
        if (!rx_.empty()) next = rx_.front().due;
        if (!timers_.empty() && timers_.begin()->first < next) next = timers_.begin()->first;
        if (!tx_.empty() && tx_.front().due < next) next = tx_.front().due;
        return next;
      }
      if (vanished_) return UINT64_MAX;
    }
  }

  // The host has closed the terminal: whatever it had sent arrives, and
  // whatever the scanner had still to send goes nowhere.
  void HostClosed(scanner::Model& model) {
    while (!rx_.empty()) {
      const uint8_t b = rx_.front().value;
      rx_.pop_front();
      LogByte(true, b);
      model.OnHostByte(b);
    }
    model.OnHostClose();
    tx_.clear();
  }

 private:
  void Put(uint8_t byte) {
    // A host that does not read lets the terminal fill up; further bytes
    // are lost, as in a receiver overrun.
    if (write(master_, &byte, 1) == 1) LogByte(false, byte);
  }

  void LogByte(bool fromHost, uint8_t byte) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    LogLine(fromHost ? "host" : "scanner", hex);
  }

  int master_;
  FILE* log_;
  uint64_t start_;
  bool vanished_ = false;
  std::deque<Byte> rx_;
  std::deque<Byte> tx_;
  uint64_t rxFree_ = 0;
  uint64_t txFree_ = 0;
  std::multimap<uint64_t, std::function<void()>> timers_;
};

struct Settings {
  scanner::Options options;
  std::string link;
  std::string logPath;
  std::string imagePath;
};

void Usage() {
  std::fprintf(
      stderr,
      "usage: scanner_sim [options]\n"
      "  --mode normal|update|auto  auto: the first open after a version query finds\n"
      "                             the scanner in update mode (default normal)\n"
      "  --status N                 status byte of the version reply (default 1)\n"
      "  --version 0xNN             version byte of the reply, bit 7 the factory flag\n"
      "                             (default 0x11)\n"
      "  --new-version 0xNN         version byte after a complete image (default 0x12)\n"
      "  --ready-delay MS|never     update mode: delay of the ready byte after the open\n"
      "  --link PATH                also reach the terminal through this symbolic link\n"
      "  --log FILE                 every byte on the line and every open and close of\n"
      "                             the port, with its time in ms\n"
      "  --image-out FILE           the image received in update mode\n"
      "faults:\n"
      "  --silent  --bel-answer  --lone-nak-reply  --wrong-echo  --no-echo  --endless-noise\n"
      "  --nak-answers N  --stray-answer 0xNN  --bad-checksum-replies N\n"
      "  --reply-in-pieces N  --surplus-after-reply HEX  --vanish-after N\n"
      "  --answer-delay MS  --noise-before-ready HEX\n");
}

bool ParseNumber(const char* text, unsigned long max, unsigned long* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtoul(text, &end, 0);
  return errno == 0 && end != text && *end == '\0' && *value <= max && text[0] != '-';
}

// Hex bytes, as in "00FF55".
bool ParseHex(const char* text, std::vector<uint8_t>* bytes) {
  const size_t n = std::strlen(text);
  if (n == 0 || n % 2 != 0) return false;
  for (size_t i = 0; i < n; i += 2) {
    const std::string pair(text + i, 2);
    char* end = nullptr;
    const unsigned long v = std::strtoul(pair.c_str(), &end, 16);
    if (*end != '\0') return false;
    bytes->push_back(static_cast<uint8_t>(v));
  }
  return true;
}

bool ParseArgs(int argc, char** argv, Settings* s) {
  scanner::Options& o = s->options;
  scanner::Faults& f = o.faults;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    unsigned long n = 0;
    bool takesValue = true;
    bool ok = true;
    if (arg == "--silent") {
      f.silent = true, takesValue = false;
    } else if (arg == "--bel-answer") {
      f.belAnswer = true, takesValue = false;
    } else if (arg == "--lone-nak-reply") {
      f.loneNakReply = true, takesValue = false;
    } else if (arg == "--wrong-echo") {
      f.wrongEcho = true, takesValue = false;
    } else if (arg == "--no-echo") {
      f.noEcho = true, takesValue = false;
    } else if (arg == "--endless-noise") {
      f.endlessNoise = true, takesValue = false;
    } else if (value == nullptr) {
      ok = false;
    } else if (arg == "--mode") {
      const std::string m = value;
      ok = m == "normal" || m == "update" || m == "auto";
      o.mode = m == "update" ? scanner::Mode::Update : scanner::Mode::Normal;
      o.updateAfterTest = m == "auto";
    } else if (arg == "--status") {
      ok = ParseNumber(value, 255, &n), o.status = static_cast<uint8_t>(n);
    } else if (arg == "--version") {
      ok = ParseNumber(value, 255, &n), o.version = static_cast<uint8_t>(n);
    } else if (arg == "--new-version") {
      ok = ParseNumber(value, 255, &n), o.newVersion = static_cast<uint8_t>(n);
    } else if (arg == "--ready-delay") {
      if (std::string(value) == "never") {
        o.readyDelayMs.reset();
      } else {
        ok = ParseNumber(value, 3600000, &n), o.readyDelayMs = static_cast<uint32_t>(n);
      }
    } else if (arg == "--link") {
      s->link = value;
    } else if (arg == "--log") {
      s->logPath = value;
    } else if (arg == "--image-out") {
      s->imagePath = value;
    } else if (arg == "--nak-answers") {
      ok = ParseNumber(value, 1000, &n), f.nakAnswers = static_cast<int>(n);
    } else if (arg == "--stray-answer") {
      ok = ParseNumber(value, 255, &n), f.strayAnswer = static_cast<uint8_t>(n);
    } else if (arg == "--bad-checksum-replies") {
      ok = ParseNumber(value, 1000, &n), f.badChecksumReplies = static_cast<int>(n);
    } else if (arg == "--reply-in-pieces") {
      ok = ParseNumber(value, 1000, &n), f.replyInPieces = n;
    } else if (arg == "--surplus-after-reply") {
      ok = ParseHex(value, &f.surplusAfterReply);
    } else if (arg == "--vanish-after") {
      ok = ParseNumber(value, 100000000, &n), f.vanishAfter = n;
    } else if (arg == "--answer-delay") {
      ok = ParseNumber(value, 3600000, &n), f.answerDelayMs = static_cast<uint32_t>(n);
    } else if (arg == "--noise-before-ready") {
      ok = ParseHex(value, &f.noiseBeforeReady);
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "scanner_sim: bad option %s%s%s\n", arg.c_str(),
                   takesValue && value ? " " : "", takesValue && value ? value : "");
      return false;
    }
    if (takesValue) ++i;
  }
  return true;
}

// Opens a pseudo-terminal and leaves its terminal side in raw mode, so that
// the terminal itself never echoes or edits a byte. Opening and closing that
// side once also puts the master into the hung-up state that stands for "no
// host has the port open"; a master that no one has opened through yet does
// not report it.
int OpenTerminal(std::string* slavePath) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) return -1;
  const char* name = nullptr;
  if (grantpt(master) != 0 || unlockpt(master) != 0 || (name = ptsname(master)) == nullptr) {
    close(master);
    return -1;
  }
  *slavePath = name;
  const int slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  if (slave < 0 || tcgetattr(slave, &tio) != 0) {
    if (slave >= 0) close(slave);
    close(master);
    return -1;
  }
  cfmakeraw(&tio);
  const bool raw = tcsetattr(slave, TCSANOW, &tio) == 0;
  close(slave);
  if (!raw) {
    close(master);
    return -1;
  }
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  return master;
}

bool HostHasOpen(int master) {
  pollfd p{master, 0, 0};
  return poll(&p, 1, 0) >= 0 && (p.revents & POLLHUP) == 0;
}

// Writes the file under a temporary name first, so that a reader never sees
// half of it.
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string partial = path + ".part";
  FILE* f = std::fopen(partial.c_str(), "wb");
  bool ok = f != nullptr;
  if (ok) {
    ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
  }
  if (!ok || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "scanner_sim: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    std::remove(partial.c_str());
  }
}

// Serves the host until a stop signal or until the scanner vanishes.
void Serve(int master, const Settings& settings, FILE* log, const sigset_t& waitMask) {
  TerminalWire wire(master, log);
  scanner::Model model(wire, settings.options);
  bool hostOpen = false;
  bool imageWritten = false;
  while (!stopRequested && !wire.vanished()) {
    if (HostHasOpen(master) != hostOpen) {
      hostOpen = !hostOpen;
      if (hostOpen) {
        wire.LogLine("host", "opened");
        model.OnHostOpen();
      } else {
        wire.HostClosed(model);
        wire.LogLine("host", "closed");
      }
      std::fprintf(stderr, "scanner_sim: host %s the port (%s mode)\n",
                   hostOpen ? "opened" : "closed",
                   model.mode() == scanner::Mode::Update ? "update" : "normal");
    }
    const uint64_t next = wire.RunDue(model);
    const scanner::Record& r = model.record();
    if (r.imageComplete && !imageWritten) {
      imageWritten = true;
      std::fprintf(stderr, "scanner_sim: image of %zu bytes received, now version 0x%02X\n",
                   r.image.size(), model.version());
      if (!settings.imagePath.empty()) WriteFile(settings.imagePath, r.image);
    }
    if (!r.imageComplete) imageWritten = false;
    if (wire.vanished()) break;

    const uint64_t now = wire.NowNs();
    const uint64_t untilNext = next > now ? next - now : 0;
    if (!hostOpen) {
      // poll would report the hang-up at once: sleep instead.
      const timespec t = Duration(std::min(untilNext, kHungUpLookNs));
      ppoll(nullptr, 0, &t, &waitMask);
      continue;
    }
    // A close shows as a hang-up and ends the wait at once.
    const timespec t = Duration(std::min(untilNext, kLongestWaitNs));
    pollfd p{master, POLLIN, 0};
    if (ppoll(&p, 1, &t, &waitMask) <= 0) continue;
    if ((p.revents & POLLIN) != 0) {
      uint8_t buffer[512];
      const ssize_t n = read(master, buffer, sizeof buffer);
      if (n > 0) wire.Receive(buffer, static_cast<size_t>(n));
    }
  }
  if (wire.vanished()) std::fprintf(stderr, "scanner_sim: the scanner vanished\n");
}

}  // namespace

int main(int argc, char** argv) {
  Settings settings;
  if (!ParseArgs(argc, argv, &settings)) {
    Usage();
    return 2;
  }

  // Stop signals are held back except while the loop waits, so none is lost
  // between a look at the flag and the wait.
  sigset_t stopSignals, waitMask;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::string slavePath;
  const int master = OpenTerminal(&slavePath);
  if (master < 0) {
    std::fprintf(stderr, "scanner_sim: no pseudo-terminal: %s\n", std::strerror(errno));
    return 1;
  }
  FILE* log = nullptr;
  if (!settings.logPath.empty() && (log = std::fopen(settings.logPath.c_str(), "w")) == nullptr) {
    std::fprintf(stderr, "scanner_sim: cannot write %s: %s\n", settings.logPath.c_str(),
                 std::strerror(errno));
    close(master);
    return 1;
  }
  if (!settings.link.empty()) {
    struct stat st {};
    if (lstat(settings.link.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(settings.link.c_str());
    if (symlink(slavePath.c_str(), settings.link.c_str()) != 0) {
      std::fprintf(stderr, "scanner_sim: cannot link %s: %s\n", settings.link.c_str(),
                   std::strerror(errno));
      if (log) std::fclose(log);
      close(master);
      return 1;
    }
  }
  std::printf("%s\n", slavePath.c_str());
  std::fflush(stdout);

  Serve(master, settings, log, waitMask);

  close(master);
  if (!settings.link.empty()) unlink(settings.link.c_str());
  if (log) std::fclose(log);
  return 0;
}
