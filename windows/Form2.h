#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "platform/ui/Toolkit.h"
#include "windows/EventRoutes.h"

namespace morvane::ui {

class Program;

// The game choice window. Next goes on to the folder choice only for the exact text
// "Counter Strike 1.6"; the choice itself is not kept.
class Form2 : public EventSink {
  public:
    Form2(Program& program, Toolkit& toolkit);

    void show() { window_->show(); }
    Window& window() { return *window_; }

    void handle(std::string_view control, Event event) override;

  private:
    static std::span<const EventRoute<Form2>> routes();

    void Image2_Click();
    void Image4_Click();
    void Form_MouseMove();
    void Image1_MouseMove();
    void Image3_MouseMove();
    void Form_Unload();

    Program& program_;
    Toolkit& toolkit_;
    std::unique_ptr<Window> window_;
};

}  // namespace morvane::ui
