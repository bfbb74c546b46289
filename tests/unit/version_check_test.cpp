// The TEST button against a simulated scanner: the port it opens, the
// exchange on the line, what the user is told and which buttons are left
// usable.
#include <string>
#include <vector>

#include "scanner_window_fixture.h"

namespace {

const std::vector<uint8_t> kQuery = {0x05, 0x56, 0x06};  // ENQ, 'V', ACK of the reply

struct Outcome {
  std::string banner;
  ControlStates states;
};

class VersionCheck : public ScannerWindowTest {
 protected:
  // Presses TEST once, answering the boxes in turn, and returns the window
  // as it is afterwards.
  static Outcome PressTest(std::initializer_list<int> answers) {
    Outcome seen;
    Press(kTestButton);
    WhenMainIdle([&seen](HWND main) { seen = {Banner(main), States(main)}; });
    RunAndExit(answers);
    return seen;
  }
};

TEST_F(VersionCheck, ShowsBothVersionsAndOffersTheUpdateAsTheVersionsCompare) {
  const std::string kOlder =
      "\n\nThis updater contains a version that is earlier than what your "
      "scanner\nalready contains.\n\nDo you really want to upload version "
      "1.2 ?";
  const std::string kSame =
      "\n\nThis updater contains a version that is the same as what your "
      "scanner\nalready contains.\n\nDo you really want to upload version "
      "1.2 ?";
  struct Case {
    const char* name;
    uint8_t versionByte;
    int answer;
    std::string banner;
    std::string text;
    UINT style;
    bool offered;
  };
  const Case cases[] = {
      {"factory 1.1 is older", 0x91, IDOK,
       "SCANNER VERSION: 1.1 (the factory version)\nUPDATER VERSION: 1.2",
       "The version of the DSP Application in the scanner is 1.1, and\nis the factory "
       "version.\n\nThis update utility contains version 1.2.",
       MB_ICONINFORMATION | MB_OK, true},
      {"field 1.1 is older", 0x11, IDOK,
       "SCANNER VERSION: 1.1 (a field upgrade)\nUPDATER VERSION: 1.2",
       "The version of the DSP Application in the scanner is 1.1, and\nis a field-upgraded "
       "version.\n\nThis update utility contains version 1.2.",
       MB_ICONINFORMATION | MB_OK, true},
      {"same, Yes", 0x12, IDYES, "SCANNER VERSION: 1.2 (a field upgrade)\nUPDATER VERSION: 1.2",
       "The version of the DSP Application in the scanner is 1.2, and\nis a field-upgraded "
       "version.\n\nThis update utility contains version 1.2." +
           kSame,
       MB_ICONQUESTION | MB_YESNO, true},
      {"same, No", 0x12, IDNO, "SCANNER VERSION: 1.2 (a field upgrade)\nUPDATER VERSION: 1.2",
       "The version of the DSP Application in the scanner is 1.2, and\nis a field-upgraded "
       "version.\n\nThis update utility contains version 1.2." +
           kSame,
       MB_ICONQUESTION | MB_YESNO, false},
      {"newer 1.3, No", 0x13, IDNO, "SCANNER VERSION: 1.3 (a field upgrade)\nUPDATER VERSION: 1.2",
       "The version of the DSP Application in the scanner is 1.3, and\nis a field-upgraded "
       "version.\n\nThis update utility contains version 1.2." +
           kOlder,
       MB_ICONQUESTION | MB_YESNO, false},
      {"newer factory 2.0, Yes", 0xA0, IDYES,
       "SCANNER VERSION: 2.0 (the factory version)\nUPDATER VERSION: 1.2",
       "The version of the DSP Application in the scanner is 2.0, and\nis the factory "
       "version.\n\nThis update utility contains version 1.2." +
           kOlder,
       MB_ICONQUESTION | MB_YESNO, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    scanner::Options options;
    options.version = c.versionByte;
    Connect(*com1, options);

    const Outcome seen = PressTest({c.answer});

    EXPECT_EQ(seen.banner, c.banner);
    EXPECT_EQ(seen.states, c.offered ? kUpdateOffered : kAtStart);
    ASSERT_EQ(LaterBoxes().size(), 1u);
    EXPECT_EQ(LaterBoxes()[0].text, c.text);
    EXPECT_EQ(LaterBoxes()[0].caption, "Tarnwick");
    EXPECT_EQ(LaterBoxes()[0].style, c.style);
    EXPECT_EQ(HostBytes(*com1), kQuery);
    // The port was closed before the box came up.
    EXPECT_EQ(watch->boxesAtClose, std::vector<size_t>{0});
  }
}

TEST_F(VersionCheck, OpensThePortChosenInTheList) {
  sim::Device& com10 = sim::AddDevice("\\\\.\\COM10");
  Connect(com10, {});
  int32_t portIndex = -1;
  SelectPort(9);
  Press(kTestButton);
  WhenMainIdle([&](HWND main) { portIndex = Window(main).m_nPortIndex; });
  RunAndExit({IDOK});

  EXPECT_EQ(portIndex, 9);
  EXPECT_EQ(HostBytes(com10), kQuery);
  EXPECT_EQ(com1->opens, 0);
}

TEST_F(VersionCheck, APortThatCannotBeOpenedIsNamedAndNothingElseChanges) {
  struct Case {
    const char* name;
    int selection;
    const char* device;  // added when not null
    bool held;
    bool refusesSettings;
    const char* port;
  };
  const Case cases[] = {
      {"no such device", 9, nullptr, false, false, "COM10"},
      {"held by another program", 0, nullptr, true, false, "COM1"},
      {"settings refused", 0, nullptr, false, true, "COM1"},
      {"last entry held", 255, "\\\\.\\COM256", true, false, "COM256"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    Connect(*com1, {});
    sim::Device& device = c.device ? sim::AddDevice(c.device) : *com1;
    device.heldElsewhere = c.held;
    device.settingsRefused = c.refusesSettings;

    SelectPort(c.selection);
    const Outcome seen = PressTest({IDOK});

    ASSERT_EQ(LaterBoxes().size(), 1u);
    EXPECT_EQ(
        LaterBoxes()[0].text,
        std::string("Unable to open the port ") + c.port +
            ". Make sure that it actually\nexists and is not being used by any other "
            "program (e.g. a\nPDA program like Palm's HotSync).\n\nPlease retry from Step 2.");
    EXPECT_EQ(LaterBoxes()[0].style, MB_ICONEXCLAMATION | MB_OK);
    EXPECT_EQ(seen.banner, kStartBanner);
    EXPECT_EQ(seen.states, kAtStart);
    EXPECT_TRUE(HostBytes(device).empty());
    EXPECT_FALSE(device.open);
  }
}

TEST_F(VersionCheck, EveryEngineFailureIsShownWithWhereToRetry) {
  const char* const kCheckCable =
      "\nEnsure that the selected COM port is correct, a supported cable\nis connected between "
      "the port and the scanner, and the scanner\nis turned ON.";
  const std::string kEchoFailed =
      std::string("Failed to read back the sent data (as expected with a functional\ncable!).") +
      kCheckCable;
  const std::string kNoResponse =
      std::string("No response (or incomplete response) from the scanner.") + kCheckCable;
  const std::string kErrorReply =
      "Received an error message from the scanner. Retrying the\noperation may be successful.";
  const std::string kFlashWriteError =
      "The scanner reports an error while attempting to write a\nfolder's flash memory space. "
      "Retrying the operation may\nbe successful.";

  struct Case {
    const char* name;
    scanner::Faults faults;
    bool corruptClosingAck;  // the version reply was stored before the run failed
    std::string message;
  };
  scanner::Faults noEcho;
  noEcho.noEcho = true;
  scanner::Faults silent;
  silent.silent = true;
  scanner::Faults stray;
  stray.strayAnswer = 0x00;
  scanner::Faults bel;
  bel.belAnswer = true;
  const Case cases[] = {
      {"cable without loopback", noEcho, false, kEchoFailed},
      {"scanner silent", silent, false, kNoResponse},
      {"unknown answer", stray, false, kErrorReply},
      {"flash write error", bel, false, kFlashWriteError},
      {"echo of the closing ACK wrong", {}, true, kEchoFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    scanner::Options options;
    options.faults = c.faults;
    Connect(*com1, options);
    if (c.corruptClosingAck) {
      scanner->model().SetScript([](uint8_t byte, scanner::Wire& wire) {
        if (byte != 0x06) return false;
        wire.Echo(0x00);
        return true;
      });
    }

    const Outcome seen = PressTest({IDOK});

    ASSERT_EQ(LaterBoxes().size(), 1u);
    EXPECT_EQ(LaterBoxes()[0].text, c.message + "\n\nPlease retry from Step 1.");
    EXPECT_EQ(LaterBoxes()[0].style, MB_ICONEXCLAMATION | MB_OK);
    EXPECT_EQ(seen.banner, kStartBanner);
    EXPECT_EQ(seen.states, kAtStart);
    EXPECT_EQ(watch->boxesAtClose, std::vector<size_t>{0});
  }
}

TEST_F(VersionCheck, ARunWithoutAValidVersionIsSilent) {
  struct Case {
    const char* name;
    uint8_t status;
    uint8_t versionByte;
    bool purgeThrows;
  };
  const Case cases[] = {
      {"factory flag without a version", 1, 0x80, false},
      {"version zero", 1, 0x00, false},
      {"status zero", 0, 0x11, false},
      {"opening purge raised an exception", 1, 0x11, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NextCase();
    scanner::Options options;
    options.status = c.status;
    options.version = c.versionByte;
    Connect(*com1, options);
    com1->purgeThrows = c.purgeThrows;

    const Outcome seen = PressTest({});

    EXPECT_TRUE(LaterBoxes().empty());
    EXPECT_EQ(seen.banner, kStartBanner);
    EXPECT_EQ(seen.states, kAtStart);
    EXPECT_FALSE(com1->open);
  }
}

TEST_F(VersionCheck, ARunAfterAFailedOneSendsOnlyTheEnquiryAndTheVersionQuery) {
  // The silent scanner leaves the version query queued behind the enquiry
  // that failed.
  scanner::Options silent;
  silent.faults.silent = true;
  Connect(*com1, silent);
  size_t logBeforeSecondRun = 0;
  int queuedAfterFailure = -1;
  Press(kTestButton);
  WhenMainIdle([&](HWND main) {
    queuedAfterFailure = Window(main).m_commandQueue.GetCount();
    Connect(*com1, {});
    logBeforeSecondRun = com1->log.size();
    EXPECT_TRUE(headless::Click(main, kTestButton));
  });
  std::string banner;
  WhenMainIdle([&](HWND main) { banner = Banner(main); });
  RunAndExit({IDOK, IDOK});

  EXPECT_EQ(queuedAfterFailure, 1);
  EXPECT_EQ(HostBytes(*com1, logBeforeSecondRun), kQuery);
  EXPECT_EQ(banner, "SCANNER VERSION: 1.1 (a field upgrade)\nUPDATER VERSION: 1.2");
}

}  // namespace
