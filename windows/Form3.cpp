#include "Form3.h"

#include <array>

#include "Form4.h"
#include "Layouts.h"
#include "Messages.h"
#include "Module1.h"
#include "PictureButtons.h"
#include "Program.h"

namespace morvane::ui {

namespace {
constexpr std::int16_t kLastPass = 999;
}

Form3::Form3(Program& program, Toolkit& toolkit, FileHost& host, Module1& module1)
    : program_(program),
      toolkit_(toolkit),
      host_(host),
      module1_(module1),
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
    for (state_.browsePass = 0; state_.browsePass <= kLastPass; ++state_.browsePass) {
        if (!browseOnce())
            return;
    }
}

// Cancel leaves the loop without touching anything: offering the dialog again after a warning
// would leave the user no way out but a thousand refusals.
bool Form3::browseOnce() {
    std::string picked = module1_.BrowseFolder(toolkit_, *window_, std::string(kBrowseStartFolder));
    if (picked.empty())
        return false;
    state_.chosenFolder = std::move(picked);
    window_->setText("Text1", state_.chosenFolder);
    program_.form4().setGameFolder(state_.chosenFolder);
    state_.hlExeFound = launcherPresent() ? 1 : 0;
    if (state_.hlExeFound != 0) {
        state_.browsePass = kLastPass;
        state_.folderValid = 1;
    } else {
        toolkit_.messageBox(std::string(kLauncherMissing), std::string(kLauncherMissingTitle),
                            MessageIcon::Exclamation);
    }
    return true;
}

// Joined as they stand: a root folder keeps its separator and gets a second one.
bool Form3::launcherPresent() const {
    const std::string prefix = state_.chosenFolder + host_.separator();
    if (toolkit_.pathExists(prefix + "hl.exe"))
        return true;
#ifdef __linux__
    // A native Linux installation starts from hl_linux and may have no hl.exe at all.
    return toolkit_.pathExists(prefix + "hl_linux");
#else
    return false;
#endif
}

void Form3::Image2_Click() {
    if (window_->text("Text1").empty()) {
        toolkit_.messageBox(std::string(kChooseFolder), std::string(kChooseFolderTitle),
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
