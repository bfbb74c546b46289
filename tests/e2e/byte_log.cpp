#include "tests/e2e/byte_log.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/ui_driver/wait.h"

namespace e2e {

// Each line: the time in ms, who ("host" or "scanner"), and what: a byte
// in hex, or "opened" or "closed".
std::vector<Session> ReadSessions(const std::string& path) {
  std::vector<Session> sessions;
  std::ifstream log(path);
  std::string line;
  while (std::getline(log, line)) {
    std::istringstream fields(line);
    std::string time, who, what;
    if (!(fields >> time >> who >> what)) continue;
    if (who == "host" && what == "opened") {
      sessions.emplace_back();
    } else if (sessions.empty()) {
      continue;
    } else if (who == "host" && what == "closed") {
      sessions.back().closed = true;
    } else if (what.size() == 2) {
      const auto byte = static_cast<uint8_t>(std::stoul(what, nullptr, 16));
      (who == "host" ? sessions.back().fromHost : sessions.back().fromScanner).push_back(byte);
    }
  }
  return sessions;
}

bool WaitForClosedSession(const std::string& path, size_t before, Session* session) {
  return driver::WaitFor([&] {
    const std::vector<Session> sessions = ReadSessions(path);
    if (sessions.size() <= before || !sessions.back().closed) return false;
    *session = sessions.back();
    return true;
  });
}

std::string Hex(const std::vector<uint8_t>& bytes, size_t limit) {
  std::string out;
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%s%02X", i == 0 ? "" : " ", bytes[i]);
    out += hex;
  }
  if (bytes.size() > limit) out += " ... (" + std::to_string(bytes.size()) + " bytes)";
  return out.empty() ? "(nothing)" : out;
}

}  // namespace e2e
