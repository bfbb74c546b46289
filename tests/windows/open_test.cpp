#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include "serial/serial.h"
#include "tests/windows/open_handles.h"

namespace {

constexpr int kAttempts = 20;

int ConstructionFailure(const char* name) {
  try {
    CSerial port(name, 19200, 'N', 8, 1, true, false);
  } catch (int code) {
    return code;
  } catch (...) {
    return -1;
  }
  return 0;
}

TEST(OpenPort, MissingDeviceThrowsOneAndLeavesNothingOpen) {
  const char* const names[] = {"\\\\.\\COM256", "\\\\.\\COM0", "\\\\.\\NOSUCHPORT", ""};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const int before = OpenHandles();
    for (int i = 0; i < kAttempts; ++i) ASSERT_EQ(ConstructionFailure(name), 1);
    EXPECT_LT(OpenHandles() - before, kAttempts);
  }
}

// The count is only evidence if it sees handles left open.
TEST(OpenPort, HandleCountSeesEventsLeftOpen) {
  const int before = OpenHandles();
  HANDLE events[kAttempts];
  for (HANDLE& event : events) event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_GE(OpenHandles() - before, kAttempts);
  for (HANDLE event : events) CloseHandle(event);
}

}  // namespace
