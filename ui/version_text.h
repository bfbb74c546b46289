// How the windows show a version byte: major (bits 4 to 6), a full stop and
// minor (bits 0 to 3), as in 1.2 for 0x12.
#pragma once
#include <cstdint>
#include <string>

std::string VersionText(uint8_t version);
