// What the program is expected to show, word for word.
#pragma once
#include <string>

namespace e2e {

extern const char kStartupQuestion[];
extern const char kCompletionNote[];
extern const char kNoReadyByte[];
extern const char kProgressCaption[];

// The TEST button's message when the port cannot be opened.
std::string PortUnavailable(int port);
// The engine's message when the scanner does not answer, as TEST shows it.
std::string NoResponse();

// The version banner before any TEST.
std::string InitialBanner();
// The banner, and the message of TEST, for a scanner version byte (bit 7
// the factory flag) against the carried image 1.2.
std::string Banner(int scannerByte);
std::string VersionMessage(int scannerByte);

}  // namespace e2e
