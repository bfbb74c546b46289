// What every scenario of the suite shares: where things are, the tally, and
// the steps a user takes again and again.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

#include "tests/e2e/tally.h"
#include "tools/ui_driver/message_box.h"
#include "tools/ui_driver/process.h"

namespace e2e {

// The simulated scanners that the test script puts on the ports.
constexpr int kOlderScanner = 1;   // version 1.1, the factory one; update mode after a TEST
constexpr int kEqualScanner = 2;   // version 1.2, a field upgrade; never sends the ready byte
constexpr int kNewerScanner = 3;   // version 1.3
constexpr int kSilentScanner = 4;  // the cable echoes, the scanner answers nothing
constexpr int kNoDevice = 256;     // nothing behind the port

constexpr int kOlderVersionByte = 0x91;
constexpr int kEqualVersionByte = 0x12;
constexpr int kNewerVersionByte = 0x13;
// The version a scanner reports after taking the image.
constexpr int kUpdatedVersionByte = 0x12;

// The captions the program's windows have.
extern const char kAppName[];      // message boxes
extern const char kMainCaption[];  // the main window
extern const char kAboutCaption[];

struct Suite {
  std::string program;  // Tarnwick.exe
  std::string outDir;   // byte logs, received images, screenshots
  std::string payload;  // the firmware payload the program carries
  Tally tally;

  std::string LogOf(int port) const;
  std::string ImageOf(int port) const;
  // Saves the screen as screenshots/<name>.bmp and counts that as a check.
  // A window given that waits for input is painted whole first.
  void Screenshot(const std::string& name, HWND idleWindow = nullptr);
};

// The state of the main window's controls that TEST and UPDATE change.
struct MainState {
  bool testEnabled, updateEnabled, listEnabled, noteVisible;
  std::string banner;

  bool operator==(const MainState& o) const {
    return testEnabled == o.testEnabled && updateEnabled == o.updateEnabled &&
           listEnabled == o.listEnabled && noteVisible == o.noteVisible && banner == o.banner;
  }
};
MainState ReadMainState(HWND main);
std::string Describe(const MainState& state);

// The control of a process's window that has the keyboard focus.
HWND FocusOf(HWND window);

// Whether inner's centre lies on outer's, within a pixel.
bool CentredOn(const RECT& outer, const RECT& inner);

// Waits (bounded) for a message box of the program; its window is null when
// none came.
driver::MessageBoxView WaitForMessageBox(const driver::Program& program);

// Starts the program, answers Yes to the start-up question and returns the
// main window, or null (with a failed check) when that did not work.
HWND StartAndAccept(Suite& suite, driver::Program& program);

// Selects a port in the list, clicks TEST and returns the message box it
// shows, if any.
driver::MessageBoxView RunTest(HWND main, const driver::Program& program, int port);

}  // namespace e2e
