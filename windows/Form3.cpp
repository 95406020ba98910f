#include "windows/Form3.h"

#include <array>

#include "core/find/Installations.h"
#include "core/game/GameLayout.h"
#include "windows/Form4.h"
#include "windows/Messages.h"
#include "windows/Module1.h"
#include "windows/PictureButtons.h"
#include "windows/Program.h"
#include "windows/layouts/Layouts.h"

namespace morvane::ui {

namespace {
constexpr std::int16_t kLastPass = 999;
}

Form3::Form3(Program& program, Toolkit& toolkit, Module1& module1, const SteamPlaces& steam)
    : program_(program),
      toolkit_(toolkit),
      module1_(module1),
      steam_(steam),
      window_(toolkit.createWindow(form3Layout(), *this)) {}

std::span<const EventRoute<Form3>> Form3::routes() {
    static constexpr std::array<EventRoute<Form3>, 7> kRoutes{{
        {"Command1", Event::Click, &Form3::Command1_Click},
        {"Image2", Event::Click, &Form3::Image2_Click},
        {"Image4", Event::Click, &Form3::Image4_Click},
        {"Form3", Event::MouseMove, &Form3::Form_MouseMove},
        {"Image1", Event::MouseMove, &Form3::Image1_MouseMove},
        {"Image3", Event::MouseMove, &Form3::Image3_MouseMove},
        {"Form3", Event::Unload, &Form3::Form_Unload},
    }};
    return kRoutes;
}

void Form3::handle(std::string_view control, Event event) {
    dispatch(*this, routes(), control, event);
}

void Form3::Command1_Click() {
    LoopStart start{state_.chosenFolder, window_->text("Text1"), state_.folderValid, std::nullopt};
    for (state_.browsePass = 0; state_.browsePass <= kLastPass; ++state_.browsePass) {
        if (!browseOnce(start)) {
            putBack(start);
            return;
        }
    }
}

// Cancel leaves the loop: offering the dialog again after a warning would leave the user no way
// out but a thousand refusals. A rejected folder must not stay behind for Next to carry on.
bool Form3::browseOnce(LoopStart& start) {
    std::string picked = module1_.BrowseFolder(toolkit_, *window_, startFolder());
    if (picked.empty())
        return false;
    state_.chosenFolder = std::move(picked);
    window_->setText("Text1", state_.chosenFolder);
    handOnToForm4(start);
    // What the driver holds to be a game folder: a launcher that is a file, in any letter case.
    // The launcher's path is joined as it stands: a root keeps its separator and gets a second.
    state_.hlExeFound = isGameFolder(steam_.reader, state_.chosenFolder) ? 1 : 0;
    if (state_.hlExeFound != 0) {
        state_.browsePass = kLastPass;
        state_.folderValid = 1;
    } else {
        state_.folderValid = 0;
        toolkit_.messageBox(*window_, i18n::tr(kLauncherMissing), i18n::tr(kLauncherMissingTitle),
                            MessageIcon::Exclamation);
    }
    return true;
}

// Form4 is created, hidden, by the first pass that has a folder to give it.
void Form3::handOnToForm4(LoopStart& start) {
    Form4& form4 = program_.form4();
    if (!start.gameFolder)
        start.gameFolder = form4.gameFolder();
    form4.setGameFolder(state_.chosenFolder);
}

// A refused folder is where the player was, often a folder above or beside the game's: opening
// there again spares the way down from the drive root.
std::string Form3::startFolder() {
    if (!state_.chosenFolder.empty())
        return state_.chosenFolder;
    if (!firstInstallation_) {
        const auto found = find::findInstallations(steam_.reader, steam_.roots).installations;
        firstInstallation_ = found.empty() ? std::string(kBrowseStartFolder) : found.front().folder;
    }
    return *firstInstallation_;
}

void Form3::putBack(const LoopStart& start) {
    state_.chosenFolder = start.chosenFolder;
    state_.folderValid = start.folderValid;
    window_->setText("Text1", start.text1);
    if (start.gameFolder)
        program_.form4().setGameFolder(*start.gameFolder);
}

void Form3::Image2_Click() {
    if (window_->text("Text1").empty()) {
        toolkit_.messageBox(*window_, i18n::tr(kChooseFolder), i18n::tr(kChooseFolderTitle),
                            MessageIcon::Exclamation);
    } else if (state_.folderValid == 1) {
        program_.form4().show();
        program_.discardForm3();
    }
}

void Form3::Image4_Click() {
    toolkit_.quit();
}

void Form3::Form_MouseMove() {
    showNormalFaces(*window_);
}
void Form3::Image1_MouseMove() {
    showHoverFace(*window_, "Image1", "Image2");
}
void Form3::Image3_MouseMove() {
    showHoverFace(*window_, "Image3", "Image4");
}

// Form4 may already exist, hidden: without this the program would go on with no window shown.
void Form3::Form_Unload() {
    toolkit_.quit();
}

}  // namespace morvane::ui
