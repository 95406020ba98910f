#include "windows/Form1.h"

#include <array>
#include <string>

#include "windows/Form2.h"
#include "windows/Program.h"
#include "windows/layouts/Layouts.h"
#include "windows/layouts/Links.h"

namespace morvane::ui {

Form1::Form1(Program& program, Toolkit& toolkit)
    : program_(program), toolkit_(toolkit), window_(toolkit.createWindow(form1Layout(), *this)) {}

std::span<const EventRoute<Form1>> Form1::routes() {
    static constexpr std::array<EventRoute<Form1>, 10> kRoutes{{
        {"Timer1", Event::Timer, &Form1::Timer1_Timer},
        {"Label1", Event::Click, &Form1::Label1_Click},
        {"Label3", Event::Click, &Form1::Label3_Click},
        {"Label4", Event::Click, &Form1::Label4_Click},
        {"Label1", Event::MouseMove, &Form1::Label1_MouseMove},
        {"Label3", Event::MouseMove, &Form1::Label3_MouseMove},
        {"Label4", Event::MouseMove, &Form1::Label4_MouseMove},
        {"Image1", Event::MouseMove, &Form1::Image1_MouseMove},
        {"Form1", Event::MouseMove, &Form1::Form_MouseMove},
        {"Form1", Event::Unload, &Form1::Form_Unload},
    }};
    return kRoutes;
}

void Form1::handle(std::string_view control, Event event) {
    dispatch(*this, routes(), control, event);
}

void Form1::Timer1_Timer() {
    program_.form2().show();
    program_.discardForm1();
}

void Form1::openLink(std::size_t index) {
    toolkit_.openUrl(std::string(kMakerLinks[index].url));
}

void Form1::Label1_Click() {
    openLink(0);
}
void Form1::Label3_Click() {
    openLink(1);
}
void Form1::Label4_Click() {
    openLink(2);
}

void Form1::Label1_MouseMove() {
    window_->setUnderline("Label1", true);
}
void Form1::Label3_MouseMove() {
    window_->setUnderline("Label3", true);
}
void Form1::Label4_MouseMove() {
    window_->setUnderline("Label4", true);
}

void Form1::Form_MouseMove() {
    for (std::string_view label : {"Label1", "Label2", "Label3", "Label4"}) {
        window_->setUnderline(label, false);
    }
}

void Form1::Image1_MouseMove() {
    Form_MouseMove();
}

// The window has no close box, but a window manager may still close it (Alt+F4, session end).
// Its timer would then never open the game choice, leaving a program without a window.
void Form1::Form_Unload() {
    toolkit_.quit();
}

}  // namespace morvane::ui
