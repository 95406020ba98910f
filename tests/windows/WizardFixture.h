#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/posix/PosixFileHost.h"
#include "platform/host/posix/PosixStateStore.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "tests/support/TempTree.h"
#include "tests/windows/RecordingToolkit.h"
#include "windows/Form2.h"
#include "windows/Form3.h"
#include "windows/Form4.h"
#include "windows/Program.h"

namespace morvane::ui::test {

// The real reader, noting in the toolkit's journal each path whose kind it is asked.
class JournalingReader : public PosixTreeReader {
  public:
    explicit JournalingReader(std::vector<std::string>& journal) : journal_(journal) {}
    EntryKind kindOf(const std::string& path) override {
        journal_.push_back("kind " + path);
        return PosixTreeReader::kindOf(path);
    }

  private:
    std::vector<std::string>& journal_;
};

// The whole program on a recording toolkit and the real seams (the reader noting what it is
// asked), its backups kept in a home folder of its own.
struct Wizard {
    RecordingToolkit toolkit;
    PosixFileHost host;
    JournalingReader reader{toolkit.journal};
    PosixStateStore store;
    morvane::test::TempTree home;
    Program program{toolkit, {host, reader, store, {{}, home.path("backups")}}};
};

class WizardTest : public ::testing::Test, protected Wizard {
  protected:
    RecordingWindow& window(std::string_view name) { return toolkit.window(name); }
    std::size_t at(std::string_view entry) const { return toolkit.at(entry); }

    // Starts the program and lets the start window's timer tick.
    void openGameChoice() {
        program.start();
        window("Form1").raise("Timer1", Event::Timer);
        toolkit.runPosted();
    }

    void openFolderChoice() {
        openGameChoice();
        window("Form2").press("Image1", "Image2");
        toolkit.runPosted();
    }

    // One browse loop on Form3 whose dialog answers `answers` in turn, then cancel.
    void browse(std::initializer_list<std::string> answers) {
        toolkit.folderAnswers.assign(answers);
        window("Form3").click("Command1");
    }
};

}  // namespace morvane::ui::test
