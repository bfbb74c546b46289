#include "ui/version_text.h"

std::string VersionText(uint8_t version) {
  return std::to_string((version >> 4) & 7) + "." + std::to_string(version & 0xF);
}
