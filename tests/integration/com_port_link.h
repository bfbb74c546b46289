// Makes a terminal reachable as a COM port. The POSIX backend opens COMn as
// /dev/ttyS<n-1>, so a symbolic link there leads the program's handlers,
// which only ever open COM ports, to a simulator's pseudo-terminal. The
// number is the first free one from a per-process start, so that runs side
// by side do not take each other's port. Needs the right to write /dev.
#pragma once
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

class ComPortLink {
 public:
  explicit ComPortLink(const std::string& terminal) {
    for (int i = 0; i < 200 && number == 0; ++i) {
      const int n = 50 + (static_cast<int>(getpid()) + i) % 200;
      const std::string path = "/dev/ttyS" + std::to_string(n - 1);
      if (symlink(terminal.c_str(), path.c_str()) == 0) {
        number = n;
        link = path;
      } else if (errno != EEXIST) {
        problem = "cannot link " + path + ": " + std::strerror(errno);
        return;
      }
    }
    if (number == 0) problem = "no free /dev/ttyS name";
  }
  ~ComPortLink() {
    if (!link.empty()) unlink(link.c_str());
  }
  // Leads the same COM port to another terminal.
  void Retarget(const std::string& terminal) {
    if (link.empty()) return;
    unlink(link.c_str());
    if (symlink(terminal.c_str(), link.c_str()) != 0) problem = std::strerror(errno);
  }
  ComPortLink(const ComPortLink&) = delete;
  ComPortLink& operator=(const ComPortLink&) = delete;

  int number = 0;  // n of COMn; 0 when there is no link, and problem says why
  std::string problem;

 private:
  std::string link;
};
