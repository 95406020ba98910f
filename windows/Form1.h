#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "platform/ui/Toolkit.h"
#include "windows/EventRoutes.h"

namespace morvane::ui {

class Program;

// The start window: the banner and the maker's three links. Its timer (3000 ms, running from
// creation) opens the game choice window once and closes this one.
class Form1 : public EventSink {
  public:
    Form1(Program& program, Toolkit& toolkit);

    void show() { window_->show(); }
    Window& window() { return *window_; }

    void handle(std::string_view control, Event event) override;

  private:
    static std::span<const EventRoute<Form1>> routes();

    void Timer1_Timer();
    void Label1_Click();
    void Label3_Click();
    void Label4_Click();
    void Label1_MouseMove();
    void Label3_MouseMove();
    void Label4_MouseMove();
    void Image1_MouseMove();
    void Form_MouseMove();
    void Form_Unload();

    void openLink(std::size_t index);

    Program& program_;
    Toolkit& toolkit_;
    std::unique_ptr<Window> window_;
};

}  // namespace morvane::ui
