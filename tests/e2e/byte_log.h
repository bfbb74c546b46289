// The simulator's byte log, read back: what went over the line while the
// program had the port open. Each open of the port starts a session.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Session {
  std::vector<uint8_t> fromHost;
  std::vector<uint8_t> fromScanner;  // the cable's echo included
  bool closed = false;
};

// The sessions of a log file, oldest first; none when there is no file.
std::vector<Session> ReadSessions(const std::string& path);

// Waits (bounded) until the log holds more than `before` sessions and the
// last one has ended; returns that one, or nothing when none came.
bool WaitForClosedSession(const std::string& path, size_t before, Session* session);

std::string Hex(const std::vector<uint8_t>& bytes, size_t limit = 16);

}  // namespace e2e
