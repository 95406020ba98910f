#pragma once

#include <windows.h>

#include "platform/ui/DialogScript.h"
#include "platform/ui/DoubleClicks.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/win32/NativeForm.h"

namespace morvane::ui {

// The windows on plain Win32. One per program, on the thread that runs its message loop; it
// prepares that thread for the shell's dialogs (COM) and the common controls, and ends every
// window of its own when it goes.
class Win32Toolkit final : public Toolkit {
  public:
    Win32Toolkit();
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    // While a script is set (not null), messageBox, browseFolder, openUrl and quit record into it
    // and return at once; null brings the real dialogs back. The script must outlive its use.
    void useScript(DialogScript* script) { script_ = script; }

    // The message loop: runs until quit() and returns the exit code.
    int run();
    // Handles every message waiting, as the loop would; false once the loop has been asked to end.
    bool processPending();

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
    void deliver(MSG& message);
    bool dropped(win32::NativeForm& form, const MSG& message);

    win32::FormList forms_;
    DoubleClicks doubleClicks_;
    HWND tasks_ = nullptr;  // receives the posted tasks
    DialogScript* script_ = nullptr;
    bool comReady_ = false;
};

}  // namespace morvane::ui
