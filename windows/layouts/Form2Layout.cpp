#include <array>
#include <string_view>

#include "windows/layouts/Layouts.h"
#include "windows/layouts/PictureFaces.h"

namespace morvane::ui {
namespace {

using enum ControlKind;

constexpr std::array<std::string_view, 2> kGames{"Counter Strike 1.6", "Counter Strike Source"};

// Each hover face is listed before the normal face it lies over.
constexpr std::array kControls{
    ControlLayout{.name = "Frame1",
                  .kind = Frame,
                  .container = "Form2",
                  .left = 120,
                  .top = 120,
                  .width = 4455,
                  .height = 855,
                  .caption = "Версия Counter Strike",
                  .tabIndex = 0},
    ControlLayout{.name = "Combo1",
                  .kind = ComboBox,
                  .container = "Frame1",
                  .left = 120,
                  .top = 360,
                  .width = 4215,
                  .height = 315,
                  .caption = "Counter Strike 1.6",
                  .toolTip = "Выберите вашу Counter Strike",
                  .tabIndex = 1,
                  .look = Look::Standard,
                  .items = kGames},
    hoverFace("Image4", "Form2", 2760, 1080, "cancel-hover.bmp", "Выйти"),
    normalFace("Image3", "Form2", 2760, 1080, "cancel-normal.bmp"),
    hoverFace("Image2", "Form2", 840, 1080, "next-hover.bmp", "Продолжить"),
    normalFace("Image1", "Form2", 840, 1080, "next-normal.bmp"),
};

constexpr WindowLayout kForm2{.name = "Form2",
                              .caption = "Выбор Counter Strike",
                              .width = 4680,
                              .height = 1740,
                              .left = 4170,
                              .top = 4170,
                              .controls = kControls};

}  // namespace

const WindowLayout& form2Layout() {
    return kForm2;
}

}  // namespace morvane::ui
