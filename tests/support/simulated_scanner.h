// The scanner model on a simulated device: the model's wire is the device's
// far end on the virtual clock.
#pragma once
#include "platform/backends/sim/sim.h"
#include "tools/scanner/scanner_model.h"

class SimulatedScanner : public sim::Peer, public scanner::Wire {
 public:
  // Attaches itself to the device as its peer; the device must outlive it.
  SimulatedScanner(sim::Device& device, scanner::Options options = {});
  ~SimulatedScanner() override;

  scanner::Model& model() { return model_; }

  // sim::Peer
  void OnHostOpen() override { model_.OnHostOpen(); }
  void OnHostClose() override { model_.OnHostClose(); }
  void OnHostByte(uint8_t byte) override { model_.OnHostByte(byte); }

  // scanner::Wire
  uint64_t NowNs() override { return sim::Now(); }
  void Echo(uint8_t byte) override { device_.EchoToHost(byte); }
  void Send(const uint8_t* bytes, size_t count) override { device_.SendToHost(bytes, count); }
  void After(uint64_t delayNs, std::function<void()> fn) override;
  void Vanish() override { device_.Vanish(); }

 private:
  sim::Device& device_;
  scanner::Model model_;
};
