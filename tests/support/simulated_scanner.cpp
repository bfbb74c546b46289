#include "tests/support/simulated_scanner.h"

#include <utility>

SimulatedScanner::SimulatedScanner(sim::Device& device, scanner::Options options)
    : device_(device), model_(*this, std::move(options)) {
  device_.peer = this;
}

SimulatedScanner::~SimulatedScanner() {
  if (device_.peer == this) device_.peer = nullptr;
}

void SimulatedScanner::After(uint64_t delayNs, std::function<void()> fn) {
  sim::At(sim::Now() + delayNs, std::move(fn));
}
