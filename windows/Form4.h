#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Seams.h"
#include "core/clean/Clean.h"
#include "engine/EngineRecord.h"
#include "platform/ui/Toolkit.h"
#include "windows/EventRoutes.h"

namespace morvane::ui {

// The options window. It keeps the cleaning engine's record for as long as it lives: the slots a
// search fills are what a later removal run treats. Box values go into the record (a flag is set
// only for a value of exactly 1) and the search's findings come back out as status boxes. A
// removal run treats what is ticked: when the option boxes changed since the last search, or none
// was made, it searches first. It backs up what it may change as the driver's clean does, so that
// the driver's undo gives it back. Closing it ends the program.
class Form4 : public EventSink {
  public:
    Form4(Toolkit& toolkit, Seams& seams);

    void show() { window_->show(); }
    Window& window() { return *window_; }

    // The game folder, kept as the caption of the hidden Label1.
    std::string gameFolder() const { return window_->text("Label1"); }
    void setGameFolder(const std::string& folder) { window_->setText("Label1", folder); }

    // What the last search and removal run left behind.
    const EngineRecord& record() const { return record_; }

    void handle(std::string_view control, Event event) override;

  private:
    static std::span<const EventRoute<Form4>> routes();

    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check9_Click();
    void Check11_Click();
    void Check14_Click();
    void Image2_Click();
    void Image4_Click();
    void Form_MouseMove();
    void Frame1_MouseMove();
    void Image1_MouseMove();
    void Image3_MouseMove();
    void Form_Unload();

    // An option box that ends up unticked clears its status box; ticking never sets it.
    void clearStatusWhenUnticked(std::string_view optionBox, std::string_view statusBox);
    bool ticked(std::string_view box) const { return window_->value(box) == 1; }
    void searchTicked();
    std::vector<std::string> missingReplacementFiles() const;
    void showOutcome(const clean::Result& result);
    void warn(const std::string& text, std::string_view title);

    Toolkit& toolkit_;
    Seams& seams_;
    std::unique_ptr<Window> window_;
    EngineRecord record_;
    bool optionsChanged_ = true;  // since the last search, or no search made yet
};

}  // namespace morvane::ui
