// What every test of the windows shares: a fresh headless backend whose
// faults fail the test, and nothing left open or unused at the end.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>

#include "platform/backends/headless/headless.h"
#include "platform/window/message_box.h"
#include "resources/resource_ids.h"
#include "ui/updater_app.h"

inline void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset([](const std::string& fault) { ADD_FAILURE() << fault; });
  }
  void TearDown() override {
    for (const std::string& leftover : headless::Leftovers()) ADD_FAILURE() << leftover;
  }

  // Starts the next case of a table afresh, after checking the last one.
  void NextCase() {
    TearDown();
    SetUp();
  }

  // Runs the program as the platform starts it, answering Yes at start-up
  // and then the later boxes in turn, with the steps the test queued; returns
  // what InitInstance returned.
  static BOOL RunProgram(std::initializer_list<int> laterAnswers = {}) {
    headless::AnswerNextBox(IDYES);
    for (int answer : laterAnswers) headless::AnswerNextBox(answer);
    CUpdaterApp app;
    return app.InitInstance();
  }

  // Queues a step for the main window's next idle moment.
  static void WhenMainIdle(std::function<void(HWND)> step) {
    headless::WhenIdle(kMainDialog, std::move(step));
  }

  static void ClickExit() {
    WhenMainIdle([](HWND main) { EXPECT_TRUE(headless::Click(main, kExitButton)); });
  }
};
