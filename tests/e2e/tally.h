// The suite's record of its checks: each is printed as it is made, and the
// last line counts them.
#pragma once
#include <string>

namespace e2e {

class Tally {
 public:
  // Records one check; returns ok, so that a step can stop when a check it
  // depends on failed.
  bool Check(bool ok, const std::string& what, const std::string& detail = std::string());
  bool CheckText(const std::string& actual, const std::string& expected, const std::string& what);

  // "N passed, M failed".
  std::string Summary() const;
  int failed() const { return failed_; }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

// The text with line breaks and other control characters spelled out, for
// messages that fit on one line.
std::string Visible(const std::string& text);

}  // namespace e2e
