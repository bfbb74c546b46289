// comm calls on a POSIX terminal device (termios).
//
// Port names: "\\.\COMn" stands for /dev/ttyS<n-1>, the usual numbering of
// built-in ports; a name that begins with '/' is used as the device path
// itself (a USB adapter, or a pseudo-terminal in tests).
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/clock.h"
#include "platform/comm.h"

#if defined(__linux__)
#include <linux/serial.h>
#endif

namespace comm {

struct Counters {
  int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
};

struct Port {
  int fd;
  Counters seen;
};

struct Transfer {
  bool pending = false;
  bool isRead = false;
  bool failed = false;
  uint8_t* readBuffer = nullptr;
  const uint8_t* writeBuffer = nullptr;
  uint32_t count = 0;
  uint32_t done = 0;
};

namespace {

thread_local uint32_t lastError = 0;

uint32_t Fail(int error) {
  lastError = static_cast<uint32_t>(error);
  return lastError;
}

std::string DevicePath(const char* name) {
  if (name[0] == '/') return name;
  static const char kPrefix[] = "\\\\.\\COM";
  if (std::strncmp(name, kPrefix, sizeof kPrefix - 1) == 0) {
    char* end = nullptr;
    const long n = std::strtol(name + sizeof kPrefix - 1, &end, 10);
    if (n >= 1 && *end == '\0') return "/dev/ttyS" + std::to_string(n - 1);
  }
  return {};
}

speed_t Speed(uint32_t baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
  }
}

tcflag_t CharSize(int dataBits) {
  switch (dataBits & 0xFF) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

// True when the device has hung up or been removed.
bool HungUp(int fd) {
  pollfd p{fd, 0, 0};
  if (poll(&p, 1, 0) < 0) return errno != EINTR;
  return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Setting a modem line is refused by pseudo-terminals; everything else is an error.
bool SetModemLine(int fd, int line, bool raised) {
  if (ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

// Moves as many bytes as the device takes now. False when the device is gone.
bool Pump(Port* port, Transfer* t) {
  while (t->done < t->count) {
    const ssize_t n = t->isRead ? read(port->fd, t->readBuffer + t->done, t->count - t->done)
                                : write(port->fd, t->writeBuffer + t->done, t->count - t->done);
    if (n > 0) {
      t->done += static_cast<uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (n == 0 && !t->isRead) return true;
    if (n == 0 && !HungUp(port->fd)) return true;
    Fail(n < 0 ? errno : EIO);
    return false;
  }
  return true;
}

Start Begin(Port* port, Transfer* t, bool isRead, uint8_t* rbuf, const uint8_t* wbuf,
            uint32_t count, uint32_t* done) {
  *t = Transfer{};
  t->isRead = isRead;
  t->readBuffer = rbuf;
  t->writeBuffer = wbuf;
  t->count = count;
  *done = 0;
  if (!Pump(port, t)) return Start::Failed;
  if (t->done == t->count) {
    *done = t->done;
    return Start::Done;
  }
  t->pending = true;
  return Start::Pending;
}

}  // namespace

Port* Open(const char* name) {
  const std::string path = DevicePath(name);
  if (path.empty()) {
    Fail(ENOENT);
    return nullptr;
  }
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Fail(errno);
    return nullptr;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    Fail(errno == EWOULDBLOCK ? EBUSY : errno);
    close(fd);
    return nullptr;
  }
  // Exclusive mode keeps other non-root openers out; not every device has it.
  ioctl(fd, TIOCEXCL);
  // A port starts with empty queues, as on Windows: a terminal keeps what
  // arrived while nobody read it, and a pseudo-terminal keeps it even after
  // the last close (the echo of an upload, say).
  tcflush(fd, TCIOFLUSH);
  return new Port{fd, {}};
}

void Close(Port* port) {
  close(port->fd);
  delete port;
}

SettingsResult ApplySettings(Port* port, const LineSettings& s) {
  termios tio{};
  if (tcgetattr(port->fd, &tio) != 0) {
    Fail(errno);
    return SettingsResult::NotRead;
  }
  const speed_t speed = Speed(s.baudRate);
  if (speed == B0) {
    Fail(EINVAL);
    return SettingsResult::Refused;
  }
  cfmakeraw(&tio);
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  tio.c_cflag |= CLOCAL | CREAD | CharSize(s.dataBits);
  if (s.parity == 'E' || s.parity == 'O') {
    tio.c_cflag |= PARENB | (s.parity == 'O' ? PARODD : 0);
    tio.c_iflag |= INPCK;
  }
  if (s.stopBits != 1) tio.c_cflag |= CSTOPB;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  if (tcsetattr(port->fd, TCSANOW, &tio) != 0) {
    Fail(errno);
    return SettingsResult::Refused;
  }

  // tcsetattr succeeds when any one change was made: check that all were.
  termios now{};
  const tcflag_t checked = CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CLOCAL | CREAD;
  if (tcgetattr(port->fd, &now) != 0 || (now.c_cflag & checked) != (tio.c_cflag & checked) ||
      cfgetospeed(&now) != speed || cfgetispeed(&now) != speed) {
    Fail(EINVAL);
    return SettingsResult::Refused;
  }

  // Linux raises both lines at open: set them as asked at once.
  if (!SetModemLine(port->fd, TIOCM_DTR, s.dtr) || !SetModemLine(port->fd, TIOCM_RTS, s.rts)) {
    Fail(errno);
    return SettingsResult::Refused;
  }
  return SettingsResult::Applied;
}

bool DisableTimeouts(Port* port) {
  // Reads and writes never block in the device (non-blocking, VMIN = VTIME = 0);
  // this confirms that the device is still a terminal.
  termios tio{};
  if (tcgetattr(port->fd, &tio) != 0) {
    Fail(errno);
    return false;
  }
  return true;
}

bool ClearErrors(Port* port, Status* status) {
  int waiting = 0;
  if (ioctl(port->fd, FIONREAD, &waiting) != 0) {
    Fail(errno);
    return false;
  }
  if (waiting == 0 && HungUp(port->fd)) {
    Fail(EIO);
    return false;
  }
  status->inQueue = static_cast<uint32_t>(waiting);
  status->errors = 0;
#if defined(__linux__)
  serial_icounter_struct ic{};
  if (ioctl(port->fd, TIOCGICOUNT, &ic) == 0) {
    // The same bits as the Windows error mask: overrun, parity, framing, break.
    Counters& seen = port->seen;
    if (ic.buf_overrun != seen.bufOverrun) status->errors |= 0x0001;
    if (ic.overrun != seen.overrun) status->errors |= 0x0002;
    if (ic.parity != seen.parity) status->errors |= 0x0004;
    if (ic.frame != seen.frame) status->errors |= 0x0008;
    if (ic.brk != seen.brk) status->errors |= 0x0010;
    seen = Counters{ic.frame, ic.overrun, ic.parity, ic.brk, ic.buf_overrun};
  }
#endif
  return true;
}

Transfer* CreateTransfer() { return new Transfer; }

void CloseTransfer(Transfer* transfer) { delete transfer; }

Start StartRead(Port* port, Transfer* transfer, uint8_t* buffer, uint32_t count, uint32_t* done) {
  return Begin(port, transfer, true, buffer, nullptr, count, done);
}

Start StartWrite(Port* port, Transfer* transfer, const uint8_t* buffer, uint32_t count,
                 uint32_t* done) {
  return Begin(port, transfer, false, nullptr, buffer, count, done);
}

Wait WaitForTransfer(Port* port, Transfer* t, uint32_t limitMs) {
  const uint32_t start = platform::GetTickCount();
  while (t->pending) {
    const uint32_t elapsed = platform::GetTickCount() - start;
    if (elapsed >= limitMs) {
      // Bytes already moved are reported, not lost.
      if (t->done == 0) return Wait::TimedOut;
      t->pending = false;
      return Wait::Completed;
    }
    pollfd p{port->fd, static_cast<short>(t->isRead ? POLLIN : POLLOUT), 0};
    const int ready = poll(&p, 1, static_cast<int>(limitMs - elapsed));
    if (ready < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
      return Wait::Failed;
    }
    if (ready == 0) continue;
    if ((p.revents & (POLLERR | POLLNVAL)) != 0 ||
        ((p.revents & POLLHUP) != 0 && (p.revents & POLLIN) == 0)) {
      Fail(EIO);
      t->failed = true;
      t->pending = false;
      return Wait::Failed;
    }
    if (!Pump(port, t)) {
      t->failed = true;
      t->pending = false;
      return Wait::Failed;
    }
    if (t->done == t->count) t->pending = false;
  }
  return Wait::Completed;
}

bool TransferResult(Port*, Transfer* transfer, uint32_t* count) {
  *count = transfer->done;
  return !transfer->failed;
}

void ResetSignal(Transfer*) {}

void CancelTransfer(Port*, Transfer* transfer) {
  // Nothing runs in the background here: a transfer moves only inside
  // WaitForTransfer, so forgetting it is enough.
  transfer->pending = false;
  transfer->readBuffer = nullptr;
  transfer->writeBuffer = nullptr;
}

uint32_t LastError() { return lastError; }

}  // namespace comm
