// Starting the program under test and watching it end.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace driver {

class Program {
 public:
  // Starts the executable; started() tells whether it did.
  explicit Program(const std::string& path);
  // A program still running is ended, so that no run leaves one behind.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD id() const { return process_.dwProcessId; }
  bool running() const;
  // Waits (bounded) for the program to end by itself.
  bool WaitForExit();

 private:
  PROCESS_INFORMATION process_{};
};

}  // namespace driver
