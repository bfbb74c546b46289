// ui_driver: walks Tarnwick.exe through the seven steps by itself, as a user
// would, against a scanner on COM1 that goes into update mode after a TEST
// (the simulator's auto mode), and takes a picture at each step.
//
//   ui_driver PROGRAM SCREENSHOT_DIR
//
// Prints what the window shows at each step; ends with status 0 when every
// step came out as it should.
#include <cstdio>
#include <string>

#include "tools/ui_driver/input.h"
#include "tools/ui_driver/message_box.h"
#include "tools/ui_driver/process.h"
#include "tools/ui_driver/screenshot.h"
#include "tools/ui_driver/wait.h"
#include "tools/ui_driver/windows.h"

namespace {

constexpr int kExitButton = 1;
constexpr int kPortList = 1000;
constexpr int kTestButton = 1002;
constexpr int kUpdateButton = 1003;
constexpr int kCompletionNote = 1004;
constexpr int kVersionBanner = 1005;
constexpr int kProgressBar = 6000;
// The whole image takes about 30 s to go out.
constexpr unsigned kUploadPatienceMs = 120000;

class Walk {
 public:
  Walk(const char* program, const char* shots) : program_(program), shots_(shots) {}

  bool Run() {
    if (!Step(program_.started(), "Tarnwick.exe starts")) return false;
    driver::MessageBoxView box = NextBox("the start-up question");
    if (box.window == nullptr) return false;
    Picture("1-startup-question", box.window);
    driver::Answer(box, IDYES);
    main_ = driver::WaitForWindow(program_.id(), "Tarnwick 1.2");
    if (!Step(main_ != nullptr, "Yes: the main window shows")) return false;
    Show("banner", Text(kVersionBanner));
    Picture("2-main-window", main_);

    const int port = driver::ListSelection(GetDlgItem(main_, kPortList));
    if (!Step(port == 0, "steps 1 and 2: the scanner is on COM1, which is selected")) return false;
    driver::ClickButton(GetDlgItem(main_, kTestButton));
    box = NextBox("step 3, TEST: the scanner's version");
    if (box.window == nullptr) return false;
    Show("message", box.text);
    Picture("3-test", box.window);
    driver::Answer(box, box.buttons.front());
    Show("banner", Text(kVersionBanner));
    if (!Step(IsWindowEnabled(GetDlgItem(main_, kUpdateButton)) != FALSE, "UPDATE is offered"))
      return false;

    std::printf("steps 4 to 6: the simulated scanner is now in its DSP update mode\n");
    driver::ClickButton(GetDlgItem(main_, kUpdateButton));
    HWND progress = driver::WaitForWindow(program_.id(), "Updating DSP");
    if (!Step(progress != nullptr, "step 7, UPDATE: the progress window shows")) return false;
    // While the image goes out the program dispatches no messages: the
    // picture is taken as the screen stands, once a quarter has gone.
    HWND bar = GetDlgItem(progress, kProgressBar);
    RECT r{};
    GetWindowRect(bar, &r);
    if (driver::WaitFor([&] {
          return !IsWindow(progress) || driver::FilledPixels(bar) >= (r.right - r.left) / 4;
        }))
      Picture("4-update-progress", nullptr);
    if (!Step(driver::WaitFor([&] { return !IsWindow(progress); }, kUploadPatienceMs),
              "the whole image went out")) {
      return false;
    }
    if (!Step(IsWindowVisible(GetDlgItem(main_, kCompletionNote)) != FALSE,
              "the completion note shows"))
      return false;
    Picture("5-update-complete", main_);

    driver::ClickButton(GetDlgItem(main_, kTestButton));
    box = NextBox("TEST once more: the new version");
    if (box.window == nullptr) return false;
    Show("message", box.text);
    Picture("6-test-after-update", box.window);
    driver::Answer(box, IDNO);
    Show("banner", Text(kVersionBanner));
    Picture("7-new-version", main_);

    driver::ClickButton(GetDlgItem(main_, kExitButton));
    return Step(program_.WaitForExit(), "EXIT ends the program");
  }

 private:
  bool Step(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    std::fflush(stdout);
    return ok;
  }

  driver::MessageBoxView NextBox(const char* what) {
    HWND box = driver::WaitForWindow(program_.id(), "Tarnwick");
    Step(box != nullptr, what);
    return box == nullptr ? driver::MessageBoxView{} : driver::ReadMessageBox(box);
  }

  std::string Text(int control) const { return driver::TextOf(GetDlgItem(main_, control)); }

  static void Show(const char* what, const std::string& text) {
    std::printf("     %s:\n", what);
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = text.find('\n', start);
      std::printf("       | %s\n", text.substr(start, end - start).c_str());
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }

  void Picture(const std::string& name, HWND idleWindow) {
    if (idleWindow != nullptr) driver::PaintNow(idleWindow);
    const std::string path = shots_ + "\\" + name + ".bmp";
    if (!driver::SaveScreen(path))
      std::printf("     (no picture: cannot write %s)\n", path.c_str());
  }

  driver::Program program_;
  std::string shots_;
  HWND main_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ui_driver PROGRAM SCREENSHOT_DIR\n");
    return 2;
  }
  Walk walk(argv[1], argv[2]);
  return walk.Run() ? 0 : 1;
}
