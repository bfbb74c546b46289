// CSerial: exclusive access to one COM device with blocking, time-limited
// transfers, write pacing to the line speed and read-back of the cable echo.
#pragma once
#include <cstdint>

#include "platform/comm.h"

class CSerial {
 public:
  // Opens and configures the port; throws the int 1 when it cannot.
  CSerial(const char* portName, int baudRate, int parity, int dataBits, int stopBits, bool dtr,
          bool rts);
  virtual ~CSerial();
  CSerial(const CSerial&) = delete;
  CSerial& operator=(const CSerial&) = delete;

  bool Open(const char* portName, int baudRate, int parity, int dataBits, int stopBits, bool dtr,
            bool rts);
  bool SetParams(int baudRate, int parity, int dataBits, int stopBits, bool dtr, bool rts);
  bool Close();

  int BytesAvailable();
  int Read(void* buffer, int count, uint32_t limit);
  int Write(const void* buffer, int count, uint32_t limit);
  bool VerifyEcho(const void* sent, int count, int echoExpected, uint32_t limit);
  void Purge();

 private:
  bool isOpen;
  double msPerByte;
  comm::Port* portHandle;
  comm::Transfer* ioRecord;
};
