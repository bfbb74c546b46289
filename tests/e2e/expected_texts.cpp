#include "tests/e2e/expected_texts.h"

namespace e2e {

namespace {

// The carried image's version byte.
constexpr int kImageVersion = 0x12;

std::string VersionOf(int version) {
  return std::to_string((version >> 4) & 7) + "." + std::to_string(version & 0xF);
}

}  // namespace

const char kStartupQuestion[] =
    "IMPORTANT!!!\n\nBefore attempting to use this utility, please ensure that you can transfer "
    "data\nbetween the PRO-96 and your PC, using a supported cable. A good test would be\nto "
    "acquire one of the data-management programs available, and perform a few\nupload and "
    "download operations between such a program and your scanner.\n\nThe steps described in "
    "this utility are written with the presumption that you\nalready have a suitable data "
    "transfer cable and are familiar with using that\ncable to connect your PRO-96 to your "
    "computer.\n\nPlease be assured that you cannot 'destroy' your radio with this utility - "
    "you\ncan always revert to the factory DSP programming via the procedure described in\nthe "
    "PRO-96 manual.\n\nAre you ready to proceed with this update utility?";

const char kCompletionNote[] =
    "Operation complete. You may exit this utility by clicking the 'EXIT' button, or click the "
    "'TEST' button to view the current DSP version.";

const char kNoReadyByte[] = "No data from the scanner. Please retry from step 4";

const char kProgressCaption[] = "Updating DSP";

std::string PortUnavailable(int port) {
  return "Unable to open the port COM" + std::to_string(port) +
         ". Make sure that it actually\nexists and is not being used by any other program (e.g. "
         "a\nPDA program like Palm's HotSync).\n\nPlease retry from Step 2.";
}

std::string NoResponse() {
  return "No response (or incomplete response) from the scanner.\nEnsure that the selected COM "
         "port is correct, a supported cable\nis connected between the port and the scanner, and "
         "the scanner\nis turned ON.\n\nPlease retry from Step 1.";
}

std::string InitialBanner() {
  return "SCANNER VERSION: ?.?\nUPDATER VERSION: " + VersionOf(kImageVersion);
}

std::string Banner(int scannerByte) {
  const bool factory = (scannerByte & 0x80) != 0;
  return "SCANNER VERSION: " + VersionOf(scannerByte & 0x7F) + " (" +
         (factory ? "the factory version" : "a field upgrade") +
         ")\nUPDATER VERSION: " + VersionOf(kImageVersion);
}

std::string VersionMessage(int scannerByte) {
  const int scanner = scannerByte & 0x7F;
  const bool factory = (scannerByte & 0x80) != 0;
  std::string text = "The version of the DSP Application in the scanner is " + VersionOf(scanner) +
                     ", and\nis " + (factory ? "the factory" : "a field-upgraded") +
                     " version.\n\nThis update utility contains version " +
                     VersionOf(kImageVersion) + ".";
  if (scanner >= kImageVersion) {
    text += std::string("\n\nThis updater contains a version that is ") +
            (scanner > kImageVersion ? "earlier than" : "the same as") +
            " what your scanner\nalready contains.\n\nDo you really want to upload version " +
            VersionOf(kImageVersion) + " ?";
  }
  return text;
}

}  // namespace e2e
