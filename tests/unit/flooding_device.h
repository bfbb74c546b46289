// A device on the wrong port that never stops sending, and sends faster than
// the host can drain it (a byte every 4 us of virtual time).
#pragma once
#include "platform/backends/sim/sim.h"

class FloodingDevice : public sim::Peer {
 public:
  explicit FloodingDevice(sim::Device& device) : device(device) {
    device.peer = this;
    Next();
  }
  ~FloodingDevice() override { device.peer = nullptr; }
  FloodingDevice(const FloodingDevice&) = delete;
  FloodingDevice& operator=(const FloodingDevice&) = delete;
  void OnHostByte(uint8_t) override {}

 private:
  void Next() {
    device.EchoToHost(0x24);
    sim::At(sim::Now() + 4000, [this] { Next(); });
  }
  sim::Device& device;
};
