#include "tests/support/scanner_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

constexpr auto kStartLimit = std::chrono::seconds(20);

// Reads one line from fd, waiting at most until the deadline.
std::string ReadLine(int fd, std::chrono::steady_clock::time_point deadline) {
  std::string line;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return {};
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char c = 0;
    if (read(fd, &c, 1) != 1) return {};
    if (c == '\n') return line;
    line += c;
  }
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

ScannerProcess::ScannerProcess(const std::vector<std::string>& options) {
  char dirTemplate[] = "/tmp/scanner_sim.XXXXXX";
  if (mkdtemp(dirTemplate) == nullptr) {
    std::perror("scanner_process: no temporary directory");
    return;
  }
  dir_ = dirTemplate;
  logPath_ = dir_ + "/line.log";
  imagePath_ = dir_ + "/image.bin";

  std::vector<std::string> args{SCANNER_SIM_PATH, "--log", logPath_, "--image-out", imagePath_};
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2];
  if (pipe(out) != 0) {
    std::perror("scanner_process: no pipe");
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    pid_ = -1;
    close(out[0]);
    std::fprintf(stderr, "scanner_process: cannot start %s: %s\n", argv[0], std::strerror(spawned));
    return;
  }
  path_ = ReadLine(out[0], std::chrono::steady_clock::now() + kStartLimit);
  close(out[0]);
  if (path_.empty()) std::fprintf(stderr, "scanner_process: the simulator printed no terminal path\n");
}

ScannerProcess::~ScannerProcess() {
  Stop(SIGTERM);
  if (!dir_.empty()) {
    std::remove(logPath_.c_str());
    std::remove(imagePath_.c_str());
    rmdir(dir_.c_str());
  }
}

void ScannerProcess::Kill() { Stop(SIGKILL); }

void ScannerProcess::Stop(int signal) {
  if (pid_ <= 0) return;
  kill(pid_, signal);
  if (!WaitForExit(std::chrono::seconds(20))) {
    std::fprintf(stderr, "scanner_process: the simulator did not stop; killed\n");
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

bool ScannerProcess::WaitForExit(std::chrono::milliseconds limit) {
  if (pid_ <= 0) return true;
  const bool exited = WaitUntil([this] { return waitpid(pid_, nullptr, WNOHANG) == pid_; }, limit);
  if (exited) pid_ = -1;
  return exited;
}

// What the log says of one side ("host" or "scanner"), line by line: a byte
// in hexadecimal, or an event.
std::vector<std::string> ScannerProcess::LogLines(const char* who) const {
  std::vector<std::string> what;
  std::ifstream log(logPath_);
  std::string line;
  while (std::getline(log, line)) {
    std::istringstream fields(line);
    std::string at, side, entry;
    if (fields >> at >> side >> entry && side == who) what.push_back(entry);
  }
  return what;
}

std::vector<uint8_t> ScannerProcess::LoggedBytes(const char* who) const {
  std::vector<uint8_t> bytes;
  for (const std::string& entry : LogLines(who)) {
    if (entry.size() == 2 && std::isxdigit(static_cast<unsigned char>(entry[0])) &&
        std::isxdigit(static_cast<unsigned char>(entry[1])))
      bytes.push_back(static_cast<uint8_t>(std::stoul(entry, nullptr, 16)));
  }
  return bytes;
}

int ScannerProcess::HostCloses() const {
  int closes = 0;
  for (const std::string& entry : LogLines("host")) closes += entry == "closed";
  return closes;
}

std::vector<uint8_t> ScannerProcess::HostBytes() const { return LoggedBytes("host"); }

std::vector<uint8_t> ScannerProcess::ScannerBytes() const { return LoggedBytes("scanner"); }

std::vector<uint8_t> ScannerProcess::Image() const {
  std::ifstream file(imagePath_, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}
