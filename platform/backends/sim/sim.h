// The simulated world that the sim backend runs on: a virtual clock with an
// event queue, and serial devices reached by name through comm::Open. Tests
// drive everything from here; nothing takes wall time.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/comm.h"

namespace sim {

using Nanos = uint64_t;
constexpr Nanos kMs = 1000000;

// Virtual time since Reset, and the tick the clock reports at that point.
Nanos Now();
void SetTickAtStart(uint32_t tick);

// Runs every event due up to now + duration, then stands at that time.
void Advance(Nanos duration);

// Schedules fn at the given virtual time (never earlier than now).
void At(Nanos when, std::function<void()> fn);

// Every trace text the serial layer produced, formatted.
const std::vector<std::string>& Traces();

// Forgets every device, event and trace, and returns the clock to 0.
void Reset();

// What sits on the far end of a device: the cable and whatever it leads to.
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void OnHostOpen() {}
  virtual void OnHostClose() {}
  // A byte from the host has fully left the wire.
  virtual void OnHostByte(uint8_t byte) = 0;
};

// How the device takes the host's writes.
enum class WriteMode {
  Normal,   // every byte is taken at once and leaves at line rate
  Stall,    // a write stays pending for ever (flow control stuck)
  Partial,  // each write takes at most partialCount bytes
  Nothing,  // each write completes at once having taken no byte
  Slow,     // each write is taken whole after writeTakesMs
};

struct LogEntry {
  Nanos at;
  bool fromHost;
  uint8_t byte;
};

class Device {
 public:
  explicit Device(std::string name) : name(std::move(name)) {}

  // Far-end side.
  void SendToHost(const uint8_t* bytes, size_t count);  // paced at the line's character time
  void EchoToHost(uint8_t byte);                         // arrives at once (cable loopback)
  void Vanish();                                         // unplugged: every later call fails
  Nanos CharTime() const;

  // Set by tests before the host opens the device.
  Peer* peer = nullptr;
  bool heldElsewhere = false;     // another program has it open
  bool settingsUnreadable = false;
  bool settingsRefused = false;
  bool timeoutsRefused = false;
  bool purgeThrows = false;       // the next status query raises an exception
  WriteMode writeMode = WriteMode::Normal;
  uint32_t partialCount = 1;
  uint32_t writeTakesMs = 0;
  std::function<void()> beforeWrite;  // runs as each host write starts, to vary the above
  uint32_t pendingLineErrors = 0;

  // Observed by tests.
  const std::string name;
  comm::LineSettings applied{};
  bool settingsApplied = false;
  bool open = false;
  bool gone = false;
  int opens = 0;
  int closes = 0;
  int platformCalls = 0;          // every comm call made on the device
  std::vector<LogEntry> log;      // every byte on the wire, both directions
  std::vector<uint8_t> FromHost() const;
  std::vector<uint8_t> ToHost() const;

  // Host-side state, used by the backend.
  std::deque<uint8_t> input;      // bytes arrived and waiting for the host
  Nanos hostTxFree = 0;           // when the host's transmitter is next idle
  Nanos farTxFree = 0;            // when the far end's transmitter is next idle
};

// Adds a device under the name comm::Open is given (\\.\COM3, say).
Device& AddDevice(const std::string& name);
Device* FindDevice(const std::string& name);

}  // namespace sim
