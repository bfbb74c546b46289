// comm calls on simulated devices, on the virtual clock.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/backends/sim/world.h"
#include "platform/comm.h"

namespace comm {

struct Port {
  sim::Device* device;
};

struct Transfer {
  bool pending = false;
  bool isRead = false;
  sim::Nanos completesAt = 0;  // a slow write: when the device has taken it
  const uint8_t* source = nullptr;
  uint8_t* buffer = nullptr;
  uint32_t count = 0;
  uint32_t done = 0;
  bool signalled = false;
};

namespace {

// Error codes, as the Windows calls report them.
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kBadCommand = 22;
constexpr uint32_t kInvalidParameter = 87;

// Each status query costs a little virtual time, as a system call does, so
// that a loop that polls without sleeping still sees time pass.
constexpr sim::Nanos kStatusQueryCost = 5000;

uint32_t lastError = 0;

bool Usable(Port* port) {
  sim::Device& d = *port->device;
  ++d.platformCalls;
  if (d.gone) {
    lastError = kAccessDenied;
    return false;
  }
  return true;
}

}  // namespace

Port* Open(const char* name) {
  sim::Device* device = sim::FindDevice(name);
  if (device == nullptr || device->gone) {
    lastError = kFileNotFound;
    return nullptr;
  }
  ++device->platformCalls;
  if (device->heldElsewhere || device->open) {
    lastError = kAccessDenied;
    return nullptr;
  }
  device->open = true;
  ++device->opens;
  device->settingsApplied = false;
  if (device->peer) device->peer->OnHostOpen();
  return new Port{device};
}

void Close(Port* port) {
  sim::Device& d = *port->device;
  ++d.platformCalls;
  d.open = false;
  ++d.closes;
  d.input.clear();
  if (d.peer) d.peer->OnHostClose();
  delete port;
}

SettingsResult ApplySettings(Port* port, const LineSettings& settings) {
  if (!Usable(port)) return SettingsResult::NotRead;
  sim::Device& d = *port->device;
  if (d.settingsUnreadable) {
    lastError = kBadCommand;
    return SettingsResult::NotRead;
  }
  if (d.settingsRefused) {
    lastError = kInvalidParameter;
    return SettingsResult::Refused;
  }
  d.applied = settings;
  d.settingsApplied = true;
  return SettingsResult::Applied;
}

bool DisableTimeouts(Port* port) {
  if (!Usable(port)) return false;
  if (port->device->timeoutsRefused) {
    lastError = kInvalidParameter;
    return false;
  }
  return true;
}

bool ClearErrors(Port* port, Status* status) {
  sim::Device& d = *port->device;
  if (d.purgeThrows) {
    d.purgeThrows = false;
    throw std::runtime_error("status query failed");
  }
  sim::Advance(kStatusQueryCost);
  if (!Usable(port)) return false;
  status->errors = d.pendingLineErrors;
  d.pendingLineErrors = 0;
  status->inQueue = static_cast<uint32_t>(d.input.size());
  return true;
}

Transfer* CreateTransfer() { return new Transfer; }

void CloseTransfer(Transfer* transfer) { delete transfer; }

namespace {

void TakeInput(sim::Device& d, Transfer* t) {
  std::copy_n(d.input.begin(), t->count, t->buffer);
  d.input.erase(d.input.begin(), d.input.begin() + t->count);
  t->done = t->count;
  t->pending = false;
  t->signalled = true;
}

void Transmit(sim::Device& d, const uint8_t* bytes, uint32_t count) {
  sim::Nanos t = std::max(d.hostTxFree, sim::Now());
  for (uint32_t i = 0; i < count; ++i) {
    t += d.CharTime();
    const uint8_t b = bytes[i];
    sim::Device* device = &d;
    sim::At(t, [device, b] {
      if (device->gone) return;
      device->log.push_back({sim::Now(), true, b});
      if (device->peer) device->peer->OnHostByte(b);
    });
  }
  d.hostTxFree = t;
}

}  // namespace

Start StartRead(Port* port, Transfer* transfer, uint8_t* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!Usable(port)) return Start::Failed;
  sim::Device& d = *port->device;
  *transfer = Transfer{};
  transfer->pending = true;
  transfer->isRead = true;
  transfer->buffer = buffer;
  transfer->count = count;
  if (d.input.size() >= count) {
    TakeInput(d, transfer);
    *done = count;
    return Start::Done;
  }
  return Start::Pending;
}

Start StartWrite(Port* port, Transfer* transfer, const uint8_t* buffer, uint32_t count,
                 uint32_t* done) {
  *done = 0;
  if (port->device->beforeWrite) port->device->beforeWrite();
  if (!Usable(port)) return Start::Failed;
  sim::Device& d = *port->device;
  *transfer = Transfer{};
  switch (d.writeMode) {
    case sim::WriteMode::Stall:
      transfer->pending = true;
      return Start::Pending;
    case sim::WriteMode::Nothing:
      return Start::Done;
    case sim::WriteMode::Slow:
      transfer->pending = true;
      transfer->source = buffer;
      transfer->count = count;
      transfer->completesAt = sim::Now() + static_cast<sim::Nanos>(d.writeTakesMs) * sim::kMs;
      return Start::Pending;
    case sim::WriteMode::Partial:
      count = std::min(count, d.partialCount);
      break;
    case sim::WriteMode::Normal:
      break;
  }
  Transmit(d, buffer, count);
  *done = count;
  return Start::Done;
}

Wait WaitForTransfer(Port* port, Transfer* transfer, uint32_t limitMs) {
  if (!Usable(port)) return Wait::Failed;
  sim::Device& d = *port->device;
  if (!transfer->pending) return transfer->signalled ? Wait::Completed : Wait::TimedOut;
  const sim::Nanos deadline = sim::Now() + static_cast<sim::Nanos>(limitMs) * sim::kMs;
  if (transfer->isRead) {
    sim::RunUntil(deadline, [&] { return d.gone || d.input.size() >= transfer->count; });
    if (d.gone) {
      lastError = kAccessDenied;
      return Wait::Failed;
    }
    if (d.input.size() >= transfer->count) {
      TakeInput(d, transfer);
      return Wait::Completed;
    }
    return Wait::TimedOut;
  }
  const bool slow = transfer->completesAt != 0;
  sim::RunUntil(slow && transfer->completesAt < deadline ? transfer->completesAt : deadline,
                [&] { return d.gone; });
  if (d.gone) {
    lastError = kAccessDenied;
    return Wait::Failed;
  }
  if (slow && sim::Now() >= transfer->completesAt) {
    Transmit(d, transfer->source, transfer->count);
    transfer->done = transfer->count;
    transfer->pending = false;
    transfer->signalled = true;
    return Wait::Completed;
  }
  return Wait::TimedOut;
}

bool TransferResult(Port* port, Transfer* transfer, uint32_t* count) {
  if (!Usable(port)) return false;
  *count = transfer->done;
  return true;
}

void ResetSignal(Transfer* transfer) { transfer->signalled = false; }

void CancelTransfer(Port* port, Transfer* transfer) {
  ++port->device->platformCalls;
  transfer->pending = false;
  transfer->buffer = nullptr;
}

uint32_t LastError() { return lastError; }

}  // namespace comm
