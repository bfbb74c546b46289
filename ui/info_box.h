// The information box that the accelerator keys open, and its texts, which
// are stored scrambled.
#pragma once
#include <cstdint>
#include <string>

// The stored texts in display order, ended by a null entry. Every stored
// byte is its character rotated left by 3 bits.
extern const uint8_t* const InfoTexts[];

// The text of one stored text: each byte up to the zero byte rotated right
// by 3 bits.
std::string Descramble(const uint8_t* stored);
