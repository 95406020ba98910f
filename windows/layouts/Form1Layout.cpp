#include <array>

#include "windows/layouts/Layouts.h"
#include "windows/layouts/Links.h"

namespace morvane::ui {
namespace {

using enum ControlKind;

// Label2 lies over the lower edge of the banner and is drawn above it.
constexpr std::array kControls{
    ControlLayout{.name = "Image1",
                  .kind = Picture,
                  .container = "Form1",
                  .left = 0,
                  .top = 0,
                  .width = 4500,
                  .height = 2250,
                  .caption = "banner.bmp"},
    ControlLayout{.name = "Label2",
                  .kind = Label,
                  .container = "Form1",
                  .left = 840,
                  .top = 1920,
                  .width = 2550,
                  .height = 240,
                  .caption = "Сайты разработчиков:",
                  .tabIndex = 1},
    ControlLayout{.name = "Label1",
                  .kind = Label,
                  .container = "Form1",
                  .left = 840,
                  .top = 2280,
                  .width = 2670,
                  .height = 240,
                  .caption = kMakerLinks[0].shown,
                  .tabIndex = 0,
                  .look = Look::Highlight},
    ControlLayout{.name = "Label3",
                  .kind = Label,
                  .container = "Form1",
                  .left = 1080,
                  .top = 2640,
                  .width = 2055,
                  .height = 240,
                  .caption = kMakerLinks[1].shown,
                  .tabIndex = 2},
    ControlLayout{.name = "Label4",
                  .kind = Label,
                  .container = "Form1",
                  .left = 840,
                  .top = 3000,
                  .width = 2760,
                  .height = 240,
                  .caption = kMakerLinks[2].shown,
                  .tabIndex = 3},
    ControlLayout{
        .name = "Timer1", .kind = Timer, .container = "Form1", .caption = "", .interval = 3000},
};

constexpr WindowLayout kForm1{.name = "Form1",
                              .caption = "Form1",
                              .width = 4500,
                              .height = 3465,
                              .bordered = false,
                              .left = 3930,
                              .top = 3840,
                              .controls = kControls};

}  // namespace

const WindowLayout& form1Layout() {
    return kForm1;
}

}  // namespace morvane::ui
