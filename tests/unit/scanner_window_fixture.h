// The program's main window on the headless backend with a simulated scanner
// behind COM1, all on the virtual clock: what the tests of the TEST and
// UPDATE buttons share.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/backends/sim/sim.h"
#include "platform/window/messages.h"
#include "tests/support/simulated_scanner.h"
#include "ui/updater_dlg.h"
#include "ui_fixture.h"

// Passes the line on to the scanner and notes when the host opened and closed
// the port and, at each close, how many message boxes had been shown by then
// after the start-up question.
class CloseWatch : public sim::Peer {
 public:
  explicit CloseWatch(sim::Peer& scanner) : scanner(scanner) {}

  void OnHostOpen() override {
    openedAt.push_back(sim::Now());
    scanner.OnHostOpen();
  }
  void OnHostClose() override {
    closedAt.push_back(sim::Now());
    boxesAtClose.push_back(headless::Boxes().size() - 1);
    scanner.OnHostClose();
  }
  void OnHostByte(uint8_t byte) override { scanner.OnHostByte(byte); }

  std::vector<sim::Nanos> openedAt;
  std::vector<sim::Nanos> closedAt;
  std::vector<size_t> boxesAtClose;

 private:
  sim::Peer& scanner;
};

// The states of the controls that the two buttons change.
struct ControlStates {
  bool test;
  bool update;
  bool portList;
  bool note;  // the completion note is shown

  bool operator==(const ControlStates& o) const {
    return test == o.test && update == o.update && portList == o.portList && note == o.note;
  }
};

inline void PrintTo(const ControlStates& s, std::ostream* os) {
  *os << "{TEST " << s.test << ", UPDATE " << s.update << ", ports " << s.portList << ", note "
      << s.note << "}";
}

// Fresh after start-up: TEST and the list usable, UPDATE not, no note.
constexpr ControlStates kAtStart{true, false, true, false};
// After a TEST that offered the update.
constexpr ControlStates kUpdateOffered{false, true, false, false};
// After a completed upload.
constexpr ControlStates kUploaded{true, false, true, true};

constexpr const char kStartBanner[] = "SCANNER VERSION: ?.?\nUPDATER VERSION: 1.2";

class ScannerWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    sim::Reset();
    com1 = &sim::AddDevice("\\\\.\\COM1");
  }

  void TearDown() override {
    UiTest::TearDown();
    if (connected) connected->peer = nullptr;
    connected = nullptr;
    watch.reset();
    scanner.reset();
  }

  // Puts a scanner with these options behind the device, in place of any
  // earlier one.
  void Connect(sim::Device& device, scanner::Options options) {
    watch.reset();
    scanner.reset();
    scanner.emplace(device, std::move(options));
    watch.emplace(*scanner);
    device.peer = &*watch;
    connected = &device;
  }

  // Queues a click on a button of the main window at its next idle moment.
  static void Press(int button) {
    WhenMainIdle([button](HWND main) { EXPECT_TRUE(headless::Click(main, button)); });
  }

  // Queues a choice in the port list.
  static void SelectPort(int index) {
    WhenMainIdle([index](HWND main) {
      Window(main).GetDlgItem(kPortList)->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
    });
  }

  // Runs the program with the steps queued, answering the boxes after the
  // start-up question in turn, and leaves it with EXIT.
  static void RunAndExit(std::initializer_list<int> answers = {}) {
    ClickExit();
    EXPECT_FALSE(RunProgram(answers));
  }

  static CUpdaterDlg& Window(HWND main) { return *static_cast<CUpdaterDlg*>(main->object); }

  static ControlStates States(HWND main) {
    auto enabled = [main](int id) { return headless::Control(main, id)->enabled; };
    return {enabled(kTestButton), enabled(kUpdateButton), enabled(kPortList),
            headless::Control(main, kCompletionNote)->visible};
  }

  static std::string Banner(HWND main) { return headless::Control(main, kVersionBanner)->text; }

  // The message boxes after the start-up question.
  static std::vector<headless::ShownBox> LaterBoxes() {
    const auto& boxes = headless::Boxes();
    return std::vector<headless::ShownBox>(boxes.begin() + (boxes.empty() ? 0 : 1), boxes.end());
  }

  // The bytes the host sent on the device from log entry first on.
  static std::vector<uint8_t> HostBytes(const sim::Device& device, size_t first = 0) {
    std::vector<uint8_t> bytes;
    for (size_t i = first; i < device.log.size(); ++i)
      if (device.log[i].fromHost) bytes.push_back(device.log[i].byte);
    return bytes;
  }

  sim::Device* com1 = nullptr;
  sim::Device* connected = nullptr;
  std::optional<SimulatedScanner> scanner;
  std::optional<CloseWatch> watch;
};
