// scanner_sim as a child process: the simulated scanner on a pseudo-terminal
// of its own, with its byte log and received image in a private directory.
#pragma once
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ScannerProcess {
 public:
  // Starts the simulator with these options and waits for the path of its
  // terminal. When it does not start, path() is empty and stderr says why.
  explicit ScannerProcess(const std::vector<std::string>& options = {});
  ~ScannerProcess();
  ScannerProcess(const ScannerProcess&) = delete;
  ScannerProcess& operator=(const ScannerProcess&) = delete;

  // The pseudo-terminal the host opens; empty when the start failed.
  const std::string& path() const { return path_; }

  // Ends the simulator at once, as when the adapter is pulled out.
  void Kill();
  // True once the simulator has exited by itself within the limit.
  bool WaitForExit(std::chrono::milliseconds limit);

  // The bytes of the log in each direction, in order.
  std::vector<uint8_t> HostBytes() const;
  std::vector<uint8_t> ScannerBytes() const;
  // How often the host has closed the terminal, as far as the simulator has
  // noticed.
  int HostCloses() const;
  // The image received in update mode, once complete; empty before.
  std::vector<uint8_t> Image() const;

 private:
  std::vector<std::string> LogLines(const char* who) const;
  std::vector<uint8_t> LoggedBytes(const char* who) const;
  void Stop(int signal);

  std::string dir_;
  std::string logPath_;
  std::string imagePath_;
  std::string path_;
  pid_t pid_ = -1;
};

// Polls the condition every few milliseconds until it holds or the limit has
// passed; returns its last value.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(20));
