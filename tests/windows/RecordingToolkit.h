#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Toolkit.h"

namespace morvane::ui::test {

class RecordingToolkit;

// A window built from the real layout data and held in memory. Addressing a control the layout
// does not have throws, so a misspelt control name in a handler fails the test that reaches it.
class RecordingWindow : public Window {
  public:
    RecordingWindow(RecordingToolkit& toolkit, const WindowLayout& layout, EventSink& sink);
    ~RecordingWindow() override;

    const std::string& name() const { return name_; }
    bool shown() const { return shown_; }
    bool closed() const { return closed_; }
    Rgb textColor(std::string_view control) const { return find(control).colour; }
    bool underlined(std::string_view control) const { return find(control).underlined; }

    // What the user does. Events reach only a shown, open window and a visible control (the
    // window's own name stands for its bare surface); a timer ticks in a hidden window too.
    void raise(std::string_view control, Event event);
    void click(std::string_view control) { raise(control, Event::Click); }
    void hover(std::string_view control) { raise(control, Event::MouseMove); }
    // Clicks a picture button: hovers its normal face unless the hover face is already up, then
    // clicks the hover face.
    void press(std::string_view normalFace, std::string_view hoverFace);
    // Changes a check box as a click or the space bar would (setValue raises Click on a change).
    void setValueByUser(std::string_view control, int value);
    // Types into an editable box; no event, as the windows handle none for typing.
    void type(std::string_view control, const std::string& text);

    void show() override;
    void close() override;
    void setVisible(std::string_view control, bool visible) override;
    bool isVisible(std::string_view control) const override { return find(control).visible; }
    int value(std::string_view control) const override { return find(control).value; }
    void setValue(std::string_view control, int value) override;
    std::string text(std::string_view control) const override { return find(control).text; }
    void setText(std::string_view control, const std::string& text) override;
    void setTextColor(std::string_view control, Rgb colour) override;
    void setUnderline(std::string_view control, bool underlined) override;

  private:
    struct Control {
        ControlKind kind = ControlKind::Label;
        bool visible = true;
        int value = 0;
        std::string text;
        Rgb colour{255, 255, 255};
        bool underlined = false;
    };

    Control& find(std::string_view control);
    const Control& find(std::string_view control) const;
    void requireReachable(std::string_view control, Event event) const;
    void note(std::string_view what, std::string_view control, const std::string& detail);

    RecordingToolkit& toolkit_;
    std::string name_;
    EventSink& sink_;
    std::map<std::string, Control, std::less<>> controls_;
    bool shown_ = false;
    bool closed_ = false;
};

struct RecordedMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
};

struct BrowseCall {
    std::string owner;
    std::string title;
    std::string startFolder;
};

// A toolkit that records instead of showing anything: no test waits on a box, a dialog or a
// clock. Everything that happens is written to `journal` in order, so tests can check sequences
// across windows ("show Form2" before "close Form1").
class RecordingToolkit : public Toolkit {
  public:
    std::unique_ptr<Window> createWindow(const WindowLayout& layout, EventSink& sink) override;
    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    std::string browseFolder(Window& owner, const std::string& title,
                             const std::string& startFolder) override;
    bool pathExists(const std::string& path) override;
    void openUrl(const std::string& url) override;
    void post(std::function<void()> task) override { posted_.push_back(std::move(task)); }
    void quit() override;

    // Runs the posted tasks, and those they post, in order.
    void runPosted();
    std::size_t pendingTasks() const { return posted_.size(); }

    // The open or closed window of that name that has not been destroyed; nullptr when none.
    RecordingWindow* find(std::string_view name) const;
    // As find(), but a missing window fails the test by throwing.
    RecordingWindow& window(std::string_view name) const;

    std::vector<std::string> journal;
    std::vector<RecordedMessage> messages;
    std::deque<std::string> folderAnswers;  // browseFolder answers in order; none left: cancel
    std::vector<BrowseCall> browseCalls;
    std::vector<std::string> pathsTested;
    std::set<std::string> existingPaths;  // exist besides what the file system holds
    std::vector<std::string> urls;
    int quitRequests = 0;

  private:
    friend class RecordingWindow;
    std::vector<RecordingWindow*> windows_;
    std::deque<std::function<void()>> posted_;
};

// Position of the first journal entry equal to `entry`, or the journal's size when absent.
std::size_t journalIndex(const RecordingToolkit& toolkit, std::string_view entry);

}  // namespace morvane::ui::test
