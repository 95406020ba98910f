#include "windows/Form2.h"

#include <array>
#include <string>

#include "windows/Form3.h"
#include "windows/Messages.h"
#include "windows/PictureButtons.h"
#include "windows/Program.h"
#include "windows/layouts/Layouts.h"

namespace morvane::ui {

Form2::Form2(Program& program, Toolkit& toolkit)
    : program_(program), toolkit_(toolkit), window_(toolkit.createWindow(form2Layout(), *this)) {}

std::span<const EventRoute<Form2>> Form2::routes() {
    static constexpr std::array<EventRoute<Form2>, 6> kRoutes{{
        {"Image2", Event::Click, &Form2::Image2_Click},
        {"Image4", Event::Click, &Form2::Image4_Click},
        {"Form2", Event::MouseMove, &Form2::Form_MouseMove},
        {"Image1", Event::MouseMove, &Form2::Image1_MouseMove},
        {"Image3", Event::MouseMove, &Form2::Image3_MouseMove},
        {"Form2", Event::Unload, &Form2::Form_Unload},
    }};
    return kRoutes;
}

void Form2::handle(std::string_view control, Event event) {
    dispatch(*this, routes(), control, event);
}

// The text is compared as it stands: other case or added spaces match neither game.
void Form2::Image2_Click() {
    const std::string game = window_->text("Combo1");
    if (game == kGameCs16) {
        program_.form3().show();
        program_.discardForm2();
    } else if (game == kGameSource) {
        toolkit_.messageBox(*window_, i18n::tr(kInDevelopment), "", MessageIcon::Information);
    }
}

void Form2::Image4_Click() {
    toolkit_.quit();
}

void Form2::Form_MouseMove() {
    showNormalFaces(*window_);
}
void Form2::Image1_MouseMove() {
    showHoverFace(*window_, "Image1", "Image2");
}
void Form2::Image3_MouseMove() {
    showHoverFace(*window_, "Image3", "Image4");
}

// No other window is open while this one is: closing it is leaving the program.
void Form2::Form_Unload() {
    toolkit_.quit();
}

}  // namespace morvane::ui
