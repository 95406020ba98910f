#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/ui/Toolkit.h"
#include "windows/EventRoutes.h"
#include "windows/SteamPlaces.h"

namespace morvane::ui {

class Module1;
class Program;

// The folder choice window. "..." runs the browse loop, which keeps asking for a folder until
// one holds the game's launcher (at most 1000 times) or the user cancels; every folder picked is
// written to Text1 and to Form4's Label1 before it is tested. The dialog opens where the player
// was: at the folder picked last, else at the first game installation found in the Steam
// libraries, else at the drive root. Next moves on to Form4 only with a
// folder that passed the test: a rejected pass withdraws the acceptance, and Cancel puts back the
// folder and the acceptance the loop started from.
class Form3 : public EventSink {
  public:
    // Window-level state; it lasts as long as the window.
    struct BrowseState {
        std::string chosenFolder;      // the folder the latest completed pass picked
        std::int16_t hlExeFound = 0;   // result of the latest launcher test: 1 or 0
        std::int16_t browsePass = 0;   // 0 to 999; set to 999 to leave the loop
        std::int16_t folderValid = 0;  // 1 while chosenFolder is a folder that passed the test
    };

    Form3(Program& program, Toolkit& toolkit, Module1& module1, const SteamPlaces& steam);

    void show() { window_->show(); }
    Window& window() { return *window_; }
    const BrowseState& state() const { return state_; }

    void handle(std::string_view control, Event event) override;

  private:
    static std::span<const EventRoute<Form3>> routes();

    void Command1_Click();
    void Image2_Click();
    void Image4_Click();
    void Form_MouseMove();
    void Image1_MouseMove();
    void Image3_MouseMove();
    void Form_Unload();

    // What the loop started from, put back when the user cancels.
    struct LoopStart {
        std::string chosenFolder;
        std::string text1;
        std::int16_t folderValid = 0;
        // Form4's Label1, read just before the loop first writes it.
        std::optional<std::string> gameFolder;
    };

    // One pass of the browse loop; false when the user cancelled the dialog.
    bool browseOnce(LoopStart& start);
    void handOnToForm4(LoopStart& start);
    void putBack(const LoopStart& start);
    std::string startFolder();

    Program& program_;
    Toolkit& toolkit_;
    Module1& module1_;
    const SteamPlaces& steam_;
    std::optional<std::string> firstInstallation_;  // looked for once, when first needed
    std::unique_ptr<Window> window_;
    BrowseState state_;
};

}  // namespace morvane::ui
