#pragma once

#include "platform/ui/DialogScript.h"
#include "platform/ui/DoubleClicks.h"
#include "platform/ui/Toolkit.h"

namespace morvane::ui {

// The windows on Qt Widgets. Needs a QApplication; the first toolkit sets the Fusion style, its
// palette with readable disabled text, the dialog font and Qt's own Russian texts for the whole
// application.
class QtToolkit final : public Toolkit {
  public:
    QtToolkit();

    // While a script is set (not null), messageBox, browseFolder, openUrl and quit record into it
    // and return at once; null brings the real dialogs back. The script must outlive its use.
    void useScript(DialogScript* script) { script_ = script; }

    std::unique_ptr<Window> createWindow(const WindowLayout& layout, EventSink& sink) override;
    void messageBox(Window& owner, const std::string& text, const std::string& title,
                    MessageIcon icon) override;
    std::string browseFolder(Window& owner, const std::string& title,
                             const std::string& startFolder) override;
    void openUrl(const std::string& url) override;
    void runBusy(const std::function<void()>& work) override;
    void post(std::function<void()> task) override;
    void quit() override;

  private:
    DialogScript* script_ = nullptr;
    DoubleClicks doubleClicks_;
};

}  // namespace morvane::ui
