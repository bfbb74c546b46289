// comm calls on the Windows communications API, with overlapped transfers.
//
// A device that has gone away (a USB adapter pulled out) shows up as
// ERROR_ACCESS_DENIED, ERROR_BAD_COMMAND, ERROR_INVALID_PARAMETER or an
// ERROR_OPERATION_ABORTED that we did not ask for. Each of them surfaces
// here as a failed result, once; nothing in this file retries a call.
//
// A transfer whose wait runs out is stopped there and then (CancelIoEx, then
// a blocking GetOverlappedResult), so that no transfer is ever left running
// behind the caller's back; one that had moved bytes by then is reported as
// completed, so that those bytes are counted rather than lost.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <new>

#include "platform/backends/win32/line_settings.h"
#include "platform/comm.h"

namespace comm {

struct Port {
  HANDLE handle;
};

struct Transfer {
  OVERLAPPED record;
  // A transfer was started and has not been seen to end; only then may a
  // cancel wait for it.
  bool inFlight;
};

namespace {

Start Started(BOOL completed, Transfer* transfer) {
  transfer->inFlight = !completed && GetLastError() == ERROR_IO_PENDING;
  if (completed) return Start::Done;
  return transfer->inFlight ? Start::Pending : Start::Failed;
}

// A transfer without its completion event could never be waited for.
bool Usable(Transfer* transfer) {
  if (transfer->record.hEvent != nullptr) return true;
  SetLastError(ERROR_INVALID_HANDLE);
  return false;
}

// Cancels a transfer that is under way and waits until it has ended (by our
// abort, ERROR_OPERATION_ABORTED, or because it had just completed), so that
// it no longer touches its buffer and the record can be used again. Returns
// the bytes it had moved.
DWORD Stop(Port* port, Transfer* transfer) {
  CancelIoEx(port->handle, &transfer->record);
  DWORD moved = 0;
  GetOverlappedResult(port->handle, &transfer->record, &moved, TRUE);
  transfer->inFlight = false;
  return moved;
}

void Rewind(Transfer* transfer) {
  transfer->record.Offset = 0;
  transfer->record.OffsetHigh = 0;
}

}  // namespace

Port* Open(const char* name) {
  const HANDLE handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  Port* port = new (std::nothrow) Port{handle};
  if (port == nullptr) {
    CloseHandle(handle);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  }
  return port;
}

void Close(Port* port) {
  CloseHandle(port->handle);
  delete port;
}

SettingsResult ApplySettings(Port* port, const LineSettings& settings) {
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port->handle, &dcb)) return SettingsResult::NotRead;
  WriteLineSettings(settings, &dcb);
  if (!SetCommState(port->handle, &dcb)) return SettingsResult::Refused;
  return SettingsResult::Applied;
}

bool DisableTimeouts(Port* port) {
  COMMTIMEOUTS none{};
  return SetCommTimeouts(port->handle, &none) != 0;
}

bool ClearErrors(Port* port, Status* status) {
  DWORD errors = 0;
  COMSTAT comstat{};
  if (!ClearCommError(port->handle, &errors, &comstat)) return false;
  status->errors = errors;
  status->inQueue = comstat.cbInQue;
  return true;
}

Transfer* CreateTransfer() {
  auto* transfer = new Transfer{};
  // Manual reset, not signalled. Without it every transfer fails to start.
  transfer->record.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  return transfer;
}

void CloseTransfer(Transfer* transfer) {
  if (transfer->record.hEvent != nullptr) CloseHandle(transfer->record.hEvent);
  delete transfer;
}

Start StartRead(Port* port, Transfer* transfer, uint8_t* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!Usable(transfer)) return Start::Failed;
  Rewind(transfer);
  DWORD n = 0;
  const BOOL completed = ReadFile(port->handle, buffer, count, &n, &transfer->record);
  *done = n;
  return Started(completed, transfer);
}

Start StartWrite(Port* port, Transfer* transfer, const uint8_t* buffer, uint32_t count,
                 uint32_t* done) {
  *done = 0;
  if (!Usable(transfer)) return Start::Failed;
  Rewind(transfer);
  DWORD n = 0;
  const BOOL completed = WriteFile(port->handle, buffer, count, &n, &transfer->record);
  *done = n;
  return Started(completed, transfer);
}

Wait WaitForTransfer(Port* port, Transfer* transfer, uint32_t limitMs) {
  switch (WaitForSingleObject(transfer->record.hEvent, limitMs)) {
    case WAIT_OBJECT_0:
      transfer->inFlight = false;
      return Wait::Completed;
    case WAIT_TIMEOUT:
      // The transfer may end in the very moment the limit runs out, and a
      // read may already have taken bytes from the device. Stop it now: if
      // it moved any bytes, report it completed so that they are counted
      // instead of lost.
      return Stop(port, transfer) > 0 ? Wait::Completed : Wait::TimedOut;
    default:
      return Wait::Failed;
  }
}

bool TransferResult(Port* port, Transfer* transfer, uint32_t* count) {
  DWORD n = 0;
  const BOOL ok = GetOverlappedResult(port->handle, &transfer->record, &n, FALSE);
  *count = n;
  return ok != 0;
}

void ResetSignal(Transfer* transfer) { ResetEvent(transfer->record.hEvent); }

void CancelTransfer(Port* port, Transfer* transfer) {
  if (transfer->inFlight) Stop(port, transfer);
  ResetEvent(transfer->record.hEvent);
}

uint32_t LastError() { return GetLastError(); }

}  // namespace comm
