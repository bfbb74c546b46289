#include <map>
#include <queue>

#include "platform/backends/sim/sim.h"
#include "platform/backends/sim/world.h"

namespace sim {

namespace {

struct Event {
  Nanos when;
  uint64_t order;
  std::function<void()> fn;
};

struct Later {
  bool operator()(const Event& a, const Event& b) const {
    return a.when != b.when ? a.when > b.when : a.order > b.order;
  }
};

struct World {
  Nanos now = 0;
  uint32_t tickAtStart = 0;
  uint64_t nextOrder = 0;
  std::priority_queue<Event, std::vector<Event>, Later> events;
  std::map<std::string, std::unique_ptr<Device>> devices;
  std::vector<std::string> traces;
};

World& TheWorld() {
  static World world;
  return world;
}

}  // namespace

Nanos Now() { return TheWorld().now; }

void SetTickAtStart(uint32_t tick) { TheWorld().tickAtStart = tick; }

uint32_t Tick() {
  World& w = TheWorld();
  return w.tickAtStart + static_cast<uint32_t>(w.now / kMs);
}

void RunUntil(Nanos until, const std::function<bool()>& stop) {
  World& w = TheWorld();
  while (!w.events.empty() && w.events.top().when <= until) {
    if (stop && stop()) return;
    Event e = w.events.top();
    w.events.pop();
    if (e.when > w.now) w.now = e.when;
    e.fn();
  }
  if (stop && stop()) return;
  if (until > w.now) w.now = until;
}

void Advance(Nanos duration) { RunUntil(TheWorld().now + duration, nullptr); }

void At(Nanos when, std::function<void()> fn) {
  World& w = TheWorld();
  w.events.push(Event{when < w.now ? w.now : when, w.nextOrder++, std::move(fn)});
}

void AddTrace(std::string text) { TheWorld().traces.push_back(std::move(text)); }

const std::vector<std::string>& Traces() { return TheWorld().traces; }

void Reset() {
  World& w = TheWorld();
  w.now = 0;
  w.tickAtStart = 0;
  w.events = {};
  w.devices.clear();
  w.traces.clear();
}

Device& AddDevice(const std::string& name) {
  auto& slot = TheWorld().devices[name];
  slot = std::make_unique<Device>(name);
  return *slot;
}

Device* FindDevice(const std::string& name) {
  auto& devices = TheWorld().devices;
  auto it = devices.find(name);
  return it == devices.end() ? nullptr : it->second.get();
}

Nanos Device::CharTime() const {
  const uint32_t baud = settingsApplied && applied.baudRate ? applied.baudRate : 19200;
  const int bits = settingsApplied ? applied.dataBits + applied.stopBits + 1 +
                                         (applied.parity == 'E' || applied.parity == 'O' ? 1 : 0)
                                   : 10;
  return static_cast<Nanos>(bits) * 1000000000ull / baud;
}

void Device::SendToHost(const uint8_t* bytes, size_t count) {
  if (gone) return;
  Nanos t = farTxFree > Now() ? farTxFree : Now();
  for (size_t i = 0; i < count; ++i) {
    t += CharTime();
    const uint8_t b = bytes[i];
    At(t, [this, b] {
      if (gone) return;
      input.push_back(b);
      log.push_back({Now(), false, b});
    });
  }
  farTxFree = t;
}

void Device::EchoToHost(uint8_t byte) {
  if (gone) return;
  input.push_back(byte);
  log.push_back({Now(), false, byte});
}

void Device::Vanish() {
  gone = true;
  input.clear();
}

std::vector<uint8_t> Device::FromHost() const {
  std::vector<uint8_t> bytes;
  for (const auto& e : log)
    if (e.fromHost) bytes.push_back(e.byte);
  return bytes;
}

std::vector<uint8_t> Device::ToHost() const {
  std::vector<uint8_t> bytes;
  for (const auto& e : log)
    if (!e.fromHost) bytes.push_back(e.byte);
  return bytes;
}

}  // namespace sim
