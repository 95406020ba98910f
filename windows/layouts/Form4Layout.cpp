#include <array>
#include <string_view>

#include "windows/layouts/Layouts.h"
#include "windows/layouts/PictureFaces.h"

namespace morvane::ui {
namespace {

using enum ControlKind;

// An option box of Frame1: common look, unticked.
constexpr ControlLayout optionBox(std::string_view name, int top, int width,
                                  std::string_view caption, std::string_view toolTip, int tab) {
    return {.name = name,
            .kind = CheckBox,
            .container = "Frame1",
            .left = 480,
            .top = top,
            .width = width,
            .height = 255,
            .caption = caption,
            .toolTip = toolTip,
            .tabIndex = tab};
}

// A status box: only its tick square is seen, so its caption (its own name) never shows. The
// program alone ticks it, hence disabled.
constexpr ControlLayout statusBox(std::string_view name, int top, int tab) {
    return {.name = name,
            .kind = CheckBox,
            .container = "Frame1",
            .left = 120,
            .top = top,
            .width = 255,
            .height = 255,
            .caption = name,
            .tabIndex = tab,
            .look = Look::StatusBox,
            .enabled = false};
}

// Each hover face is listed before the normal face it lies over.
constexpr std::array kControls{
    ControlLayout{.name = "Frame1",
                  .kind = Frame,
                  .container = "Form4",
                  .left = 120,
                  .top = 120,
                  .width = 4455,
                  .height = 2535,
                  .caption = "Какую рекламу удалять?",
                  .tabIndex = 0},
    optionBox("Check1", 360, 1815, "В меню", "Реклама серверов в меню игры", 1),
    optionBox("Check2", 720, 1815, "На загрузке", "Реклама при подключении на сервер", 2),
    optionBox("Check3", 1080, 1815, "В игре (TAB)", "Реклама при нажатой кнопке (TAB)", 3),
    optionBox("Check9", 1440, 2295, "В конфиге (.cfg)", "Если от вас идет спам на серверах", 11),
    optionBox("Check11", 1800, 3615, "В окне приветствия (motd)",
              "Окно приветствия при создании сервера", 13),
    optionBox("Check14", 2160, 3855, "Убрать баг автозакупки", "", 18),
    statusBox("Check4", 360, 4),
    statusBox("Check5", 720, 5),
    statusBox("Check6", 1080, 6),
    statusBox("Check8", 1440, 10),
    statusBox("Check10", 1800, 12),
    statusBox("Check13", 2160, 17),
    hoverFace("Image2", "Frame1", 2520, 240, "find-hover.bmp", "Найти файлы рекламы"),
    normalFace("Image1", "Frame1", 2520, 240, "find-normal.bmp"),
    hoverFace("Image4", "Frame1", 2520, 840, "remove-hover.bmp", "Удалиить рекламу"),
    normalFace("Image3", "Frame1", 2520, 840, "remove-normal.bmp"),
    // Holds the game folder; never shown.
    ControlLayout{.name = "Label1",
                  .kind = Label,
                  .container = "Frame1",
                  .left = 3720,
                  .top = 240,
                  .width = 1695,
                  .height = 255,
                  .caption = "Label1",
                  .tabIndex = 7,
                  .visible = false},
    ControlLayout{.name = "Frame2",
                  .kind = Frame,
                  .container = "Form4",
                  .left = 120,
                  .top = 2760,
                  .width = 4455,
                  .height = 1095,
                  .caption = "Дополнительно",
                  .tabIndex = 8},
    ControlLayout{.name = "Check7",
                  .kind = CheckBox,
                  .container = "Frame2",
                  .left = 120,
                  .top = 360,
                  .width = 4215,
                  .height = 255,
                  .caption = "Атрибуты \"Только чтение\"",
                  .toolTip = "Ставит атрибут \"Только чтение\"",
                  .tabIndex = 9},
    ControlLayout{.name = "Check12",
                  .kind = CheckBox,
                  .container = "Frame2",
                  .left = 120,
                  .top = 720,
                  .width = 4215,
                  .height = 255,
                  .caption = "Запретить показ motd с серверов",
                  .toolTip = "При подключении на сервер",
                  .tabIndex = 14},
    ControlLayout{.name = "Frame3",
                  .kind = Frame,
                  .container = "Form4",
                  .left = 120,
                  .top = 3960,
                  .width = 4455,
                  .height = 735,
                  .caption = "Статус",
                  .tabIndex = 15},
    ControlLayout{.name = "Label2",
                  .kind = Label,
                  .container = "Frame3",
                  .left = 120,
                  .top = 360,
                  .width = 4215,
                  .height = 255,
                  .caption = "Неизвестно",
                  .tabIndex = 16},
};

constexpr WindowLayout kForm4{.name = "Form4",
                              .caption = "Поиск и удаление рекламы",
                              .width = 4680,
                              .height = 4830,
                              .left = 3975,
                              .top = 3600,
                              .controls = kControls};

}  // namespace

const WindowLayout& form4Layout() {
    return kForm4;
}

}  // namespace morvane::ui
