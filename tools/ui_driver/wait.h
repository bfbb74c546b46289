// Waiting for something the program under test does, with a bound: every
// wait polls a condition until it holds or the limit has passed.
#pragma once
#include <functional>

namespace driver {

// Generous enough for a busy machine; a step that takes longer has failed.
constexpr unsigned kPatienceMs = 30000;

// True as soon as condition() holds; false once limitMs have passed without.
bool WaitFor(const std::function<bool()>& condition, unsigned limitMs = kPatienceMs);

}  // namespace driver
