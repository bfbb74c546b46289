#include "tests/e2e/tally.h"

#include <cstdio>

namespace e2e {

bool Tally::Check(bool ok, const std::string& what, const std::string& detail) {
  (ok ? passed_ : failed_) += 1;
  if (ok) {
    std::printf("ok   %s\n", what.c_str());
  } else {
    std::printf("FAIL %s%s%s\n", what.c_str(), detail.empty() ? "" : ": ", detail.c_str());
  }
  std::fflush(stdout);
  return ok;
}

bool Tally::CheckText(const std::string& actual, const std::string& expected,
                      const std::string& what) {
  return Check(actual == expected, what,
               "got \"" + Visible(actual) + "\", expected \"" + Visible(expected) + "\"");
}

std::string Tally::Summary() const {
  return std::to_string(passed_) + " passed, " + std::to_string(failed_) + " failed";
}

std::string Visible(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace e2e
