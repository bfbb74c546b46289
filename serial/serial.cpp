#include "serial/serial.h"

#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/trace.h"

namespace {

// A device that keeps sending (a modem or a GPS receiver on the wrong port)
// must not hold Purge for ever.
constexpr uint32_t kPurgeLimitMs = 2000;
constexpr int kPurgeChunk = 100;

}  // namespace

CSerial::CSerial(const char* portName, int baudRate, int parity, int dataBits, int stopBits,
                 bool dtr, bool rts)
    : isOpen(false), msPerByte(1.0), portHandle(nullptr), ioRecord(nullptr) {
  if (!Open(portName, baudRate, parity, dataBits, stopBits, dtr, rts)) {
    Close();
    throw 1;
  }
}

CSerial::~CSerial() { Close(); }

bool CSerial::Open(const char* portName, int baudRate, int parity, int dataBits, int stopBits,
                   bool dtr, bool rts) {
  portHandle = comm::Open(portName);
  if (portHandle == nullptr) {
    platform::Trace("CSerial::Open - CreateFile(%s) failed, GetLastError()==0x%08X", portName,
                    static_cast<unsigned>(comm::LastError()));
    return false;
  }
  ioRecord = comm::CreateTransfer();
  isOpen = true;
  return SetParams(baudRate, parity, dataBits, stopBits, dtr, rts);
}

bool CSerial::SetParams(int baudRate, int parity, int dataBits, int stopBits, bool dtr, bool rts) {
  if (!isOpen) return false;
  msPerByte = 1.0;
  if (portHandle == nullptr) return false;

  const comm::LineSettings settings{static_cast<uint32_t>(baudRate), parity, dataBits, stopBits,
                                    dtr, rts};
  switch (comm::ApplySettings(portHandle, settings)) {
    case comm::SettingsResult::NotRead:
      platform::Trace("CSerial::SetParams - GetCommState() failed, GetLastError()==0x%08X",
                      static_cast<unsigned>(comm::LastError()));
      return false;
    case comm::SettingsResult::Refused:
      platform::Trace("CSerial::SetParams - SetCommState() failed, GetLastError()==0x%08X",
                      static_cast<unsigned>(comm::LastError()));
      return false;
    case comm::SettingsResult::Applied:
      break;
  }

  const double bitsPerChar = dataBits + stopBits + 1 + (parity != 'N' ? 1 : 0);
  msPerByte = 1000.0 / (static_cast<double>(baudRate) / bitsPerChar);

  if (!comm::DisableTimeouts(portHandle)) {
    platform::Trace("CSerial::SetParams - SetCommTimeouts() failed, GetLastError()==0x%08X",
                    static_cast<unsigned>(comm::LastError()));
    return false;
  }
  return true;
}

bool CSerial::Close() {
  if (!isOpen) return false;
  comm::CloseTransfer(ioRecord);
  ioRecord = nullptr;
  comm::Close(portHandle);
  portHandle = nullptr;
  isOpen = false;
  return true;
}

int CSerial::BytesAvailable() {
  // A closed port, or a failed query, has nothing waiting.
  comm::Status status{};
  if (portHandle == nullptr || !comm::ClearErrors(portHandle, &status)) return 0;
  return static_cast<int>(status.inQueue);
}

int CSerial::Read(void* buffer, int count, uint32_t limit) {
  if (!isOpen) return 0;
  uint32_t got = 0;
  if (count <= 0) return 0;

  comm::Status status{};
  comm::ClearErrors(portHandle, &status);
  if (status.errors != 0) {
    platform::Trace("CSerial::Read - ClearCommError returns 0x%08X",
                    static_cast<unsigned>(status.errors));
  }

  switch (comm::StartRead(portHandle, ioRecord, static_cast<uint8_t*>(buffer),
                          static_cast<uint32_t>(count), &got)) {
    case comm::Start::Done:
      return static_cast<int>(got);
    case comm::Start::Failed:
      platform::Trace("CSerial::Read - ReadFile() failed, GetLastError()==0x%08X",
                      static_cast<unsigned>(comm::LastError()));
      return 0;
    case comm::Start::Pending:
      break;
  }

  switch (comm::WaitForTransfer(portHandle, ioRecord, limit)) {
    case comm::Wait::Completed:
      if (!comm::TransferResult(portHandle, ioRecord, &got)) {
        platform::Trace("CSerial::Read - GetOverlappedResult() failed, GetLastError()==0x%08X",
                        static_cast<unsigned>(comm::LastError()));
      }
      comm::ResetSignal(ioRecord);
      return static_cast<int>(got);
    case comm::Wait::TimedOut:
      platform::Trace("CSerial::Read - WaitForSingleObject() timed out");
      break;
    case comm::Wait::Failed:
      break;
  }
  // The read must not fill the caller's buffer after we return, nor be
  // under way when the record is next used.
  comm::CancelTransfer(portHandle, ioRecord);
  return 0;
}

int CSerial::Write(const void* buffer, int count, uint32_t limit) {
  if (!isOpen) return 0;
  if (count <= 0) return 0;
  uint32_t written = 0;
  const uint32_t start = platform::GetTickCount();
  comm::Status ignored{};
  comm::ClearErrors(portHandle, &ignored);

  switch (comm::StartWrite(portHandle, ioRecord, static_cast<const uint8_t*>(buffer),
                           static_cast<uint32_t>(count), &written)) {
    case comm::Start::Done:
      break;
    case comm::Start::Failed:
      platform::Trace("CSerial::Write - WriteFile() failed, GetLastError()==0x%08X",
                      static_cast<unsigned>(comm::LastError()));
      return 0;
    case comm::Start::Pending:
      switch (comm::WaitForTransfer(portHandle, ioRecord, limit)) {
        case comm::Wait::Completed:
          if (!comm::TransferResult(portHandle, ioRecord, &written)) {
            platform::Trace(
                "CSerial::Write (writing data) - GetOverlappedResult() failed, "
                "GetLastError()==0x%08X",
                static_cast<unsigned>(comm::LastError()));
            return 0;
          }
          comm::ResetSignal(ioRecord);
          break;
        case comm::Wait::TimedOut:
          platform::Trace("CSerial::Write (writing data) - WaitForSingleObject() timed out");
          comm::CancelTransfer(portHandle, ioRecord);
          return 0;
        case comm::Wait::Failed:
          comm::CancelTransfer(portHandle, ioRecord);
          break;
      }
      break;
  }

  // Pace to the line: do not return before the bytes asked for could have
  // left the wire. No pause when the transfer already took longer, or when
  // it completed within the same tick.
  const uint32_t expected = static_cast<uint32_t>(count * msPerByte);
  const uint32_t elapsed = platform::GetTickCount() - start;
  const uint32_t remaining = expected - elapsed;
  if (remaining < expected) platform::Sleep(remaining);
  return static_cast<int>(written);
}

bool CSerial::VerifyEcho(const void* sent, int count, int echoExpected, uint32_t limit) {
  if (echoExpected == 0) {
    Purge();
    return true;
  }
  if (count <= 0) return true;

  const auto* expected = static_cast<const uint8_t*>(sent);
  std::vector<uint8_t> scratch(static_cast<size_t>(count));
  const uint32_t start = platform::GetTickCount();
  int received = 0;
  while (received < count && platform::GetTickCount() - start < limit) {
    int n = BytesAvailable();
    if (n == 0) {
      platform::Sleep(2);
      continue;
    }
    if (n > count - received) n = count - received;
    const int got = Read(scratch.data(), n, limit);
    if (got > 0 && std::memcmp(scratch.data(), expected + received, static_cast<size_t>(got)) != 0)
      return false;
    received += got;
  }
  return received >= count;
}

void CSerial::Purge() {
  uint8_t discard[kPurgeChunk];
  const uint32_t start = platform::GetTickCount();
  for (int n = BytesAvailable(); n != 0; n = BytesAvailable()) {
    if (platform::GetTickCount() - start >= kPurgeLimitMs) return;
    Read(discard, n < kPurgeChunk ? n : kPurgeChunk, 1000);
  }
}
