// The suite's scenarios. The program runs several times; within one run the
// steps follow each other as a user would take them, so each scenario
// expects the window in the state the one before it left.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "tests/e2e/suite.h"
#include "tools/ui_driver/process.h"

namespace e2e {

// A run of its own each.
void CheckDeclinedStart(Suite& suite);
void CheckUpdateWithoutReadyByte(Suite& suite);
void CheckWaysToLeave(Suite& suite);

// The steps of the main run, in this order.
void CheckInitialWindow(Suite& suite, HWND main);
void CheckAboutBox(Suite& suite, const driver::Program& program, HWND main);
void CheckKeys(Suite& suite, const driver::Program& program, HWND main);
void CheckMinimised(Suite& suite, HWND main);
void CheckFailedTests(Suite& suite, const driver::Program& program, HWND main);
void CheckDeclinedUpdates(Suite& suite, const driver::Program& program, HWND main);
// TEST with the older scanner; true when it offered the update.
bool CheckOlderScanner(Suite& suite, const driver::Program& program, HWND main);
// UPDATE after CheckOlderScanner, and TEST once more.
void CheckUpdate(Suite& suite, const driver::Program& program, HWND main);

}  // namespace e2e
