#include <array>

#include "windows/layouts/Layouts.h"
#include "windows/layouts/PictureFaces.h"

namespace morvane::ui {
namespace {

using enum ControlKind;

// Text1 only shows the folder the browse button put there: disabled, so it never takes the focus.
// Each hover face is listed before the normal face it lies over.
constexpr std::array kControls{
    ControlLayout{.name = "Frame1",
                  .kind = Frame,
                  .container = "Form3",
                  .left = 120,
                  .top = 120,
                  .width = 4455,
                  .height = 735,
                  .caption = "Выберите папку с вашей CS или CSS",
                  .tabIndex = 0},
    ControlLayout{.name = "Text1",
                  .kind = TextBox,
                  .container = "Frame1",
                  .left = 120,
                  .top = 240,
                  .width = 3615,
                  .height = 375,
                  .caption = "",
                  .toolTip = "Путь до папки с CS",
                  .tabIndex = 1,
                  .look = Look::Standard,
                  .enabled = false},
    ControlLayout{.name = "Command1",
                  .kind = PushButton,
                  .container = "Frame1",
                  .left = 3840,
                  .top = 240,
                  .width = 495,
                  .height = 375,
                  .caption = "...",
                  .toolTip = "Указать путь до папки с CS",
                  .tabIndex = 2,
                  .look = Look::Standard},
    hoverFace("Image4", "Form3", 2760, 960, "cancel-hover.bmp", "Выйти"),
    normalFace("Image3", "Form3", 2760, 960, "cancel-normal.bmp"),
    hoverFace("Image2", "Form3", 840, 960, "next-hover.bmp", "Продолжить"),
    normalFace("Image1", "Form3", 840, 960, "next-normal.bmp"),
};

constexpr WindowLayout kForm3{.name = "Form3",
                              .caption = "Выбор папки",
                              .width = 4680,
                              .height = 1650,
                              .left = 3975,
                              .top = 3780,
                              .controls = kControls};

}  // namespace

const WindowLayout& form3Layout() {
    return kForm3;
}

}  // namespace morvane::ui
