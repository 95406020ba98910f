#pragma once

// What every toolkit layer is held to alike: the keyboard's way through each window, and the
// windows as the render programs draw them for people to look at.
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/Toolkit.h"
#include "windows/layouts/Layouts.h"

namespace morvane::test {

// Where the focus rests when a window opens, then after each Tab. Disabled controls (the status
// boxes, the folder text) and pictures are never visited; the order crosses frames as the layout
// numbers it.
struct TabRound {
    const ui::WindowLayout* layout;
    std::vector<std::string> focus;
};

inline const std::vector<TabRound>& tabRounds() {
    static const std::vector<TabRound> rounds{
        {&ui::form2Layout(), {"Combo1", "Combo1"}},
        {&ui::form3Layout(), {"Command1", "Command1"}},
        {&ui::form4Layout(),
         {"Check1", "Check2", "Check3", "Check7", "Check9", "Check11", "Check12", "Check14",
          "Check1"}},
    };
    return rounds;
}

// One picture of a window: its file name without extension, and what is set before it is drawn.
struct Scene {
    const ui::WindowLayout* layout;
    std::string name;
    std::function<void(ui::Window&)> prepare;
};

// The four windows, then the options window with its status boxes ticked and with its result line
// in each of its looks.
inline std::vector<Scene> windowScenes() {
    auto result = [](const char* text, ui::Rgb colour) {
        return [text, colour](ui::Window& window) {
            window.setTextColor("Label2", colour);
            window.setText("Label2", text);
        };
    };
    auto tickStatusBoxes = [](ui::Window& window) {
        for (const char* box : {"Check4", "Check5", "Check6", "Check8", "Check10", "Check13"})
            window.setValue(box, 1);
    };
    return {
        {&ui::form1Layout(), "Form1", {}},
        {&ui::form2Layout(), "Form2", {}},
        {&ui::form3Layout(), "Form3", {}},
        {&ui::form4Layout(), "Form4", {}},
        {&ui::form4Layout(), "Form4-status", tickStatusBoxes},
        {&ui::form4Layout(), "Form4-unknown", result("Неизвестно", {255, 255, 255})},
        {&ui::form4Layout(), "Form4-notremoved", result("Реклама не удалена", {255, 0, 0})},
        {&ui::form4Layout(), "Form4-removed", result("Реклама возможно удалена", {0, 255, 0})},
    };
}

}  // namespace morvane::test
