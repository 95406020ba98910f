#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/Toolkit.h"

namespace morvane::ui::test {

// A window built from the real layout data and held in memory. Addressing a control the layout
// does not have throws, so a misspelt control name in a handler fails the test that reaches it.
class RecordingWindow : public Window {
  public:
    // Writes what happens to `journal` and stays listed in `alive` until destroyed.
    RecordingWindow(std::vector<std::string>& journal, std::vector<RecordingWindow*>& alive,
                    const WindowLayout& layout, EventSink& sink)
        : journal_(journal), alive_(alive), name_(layout.name), sink_(sink) {
        for (const ControlLayout& control : layout.controls)
            controls_[std::string(control.name)] = {control.visible, 0,
                                                    std::string(control.caption)};
        alive_.push_back(this);
    }
    ~RecordingWindow() override { std::erase(alive_, this); }

    const std::string& name() const { return name_; }
    bool shown() const { return shown_; }
    bool underlined(std::string_view control) const { return find(control).underlined; }

    // What the user does. Events reach only a shown, open window and a visible control (the
    // window's own name stands for its bare surface); a timer ticks in a hidden window too.
    void raise(std::string_view control, Event event) {
        if (closed_)
            throw std::logic_error(name_ + " is closed");
        if (event != Event::Timer && !shown_)
            throw std::logic_error(name_ + " is not shown");
        if (event != Event::Timer && control != name_ && !find(control).visible)
            throw std::logic_error(name_ + "." + std::string(control) + " is hidden");
        sink_.handle(control, event);
    }
    void click(std::string_view control) { raise(control, Event::Click); }
    void hover(std::string_view control) { raise(control, Event::MouseMove); }
    // Clicks a picture button: hovers its normal face unless the hover face is already up, then
    // clicks the hover face.
    void press(std::string_view normalFace, std::string_view hoverFace) {
        if (isVisible(normalFace))
            hover(normalFace);
        click(hoverFace);
    }
    // Changes a check box as a click or the space bar would: through setValue, which raises Click
    // on a change as the real toolkit does.
    void setValueByUser(std::string_view control, int value) {
        if (!shown_ || !find(control).visible)
            throw std::logic_error(std::string(control) + " cannot be reached");
        setValue(control, value);
    }
    // Types into an editable box; no event, as the windows handle none for typing.
    void type(std::string_view control, const std::string& text) { find(control).text = text; }

    void show() override {
        shown_ = true;
        journal_.push_back("show " + name_);
    }
    void close() override {
        shown_ = false;
        closed_ = true;
        journal_.push_back("close " + name_);
    }
    void setVisible(std::string_view control, bool visible) override {
        find(control).visible = visible;
        note("visible", control, visible ? "1" : "0");
    }
    bool isVisible(std::string_view control) const override { return find(control).visible; }
    int value(std::string_view control) const override { return find(control).value; }
    void setValue(std::string_view control, int value) override {
        const bool changed = std::exchange(find(control).value, value) != value;
        note("value", control, std::to_string(value));
        if (changed)
            sink_.handle(control, Event::Click);
    }
    std::string text(std::string_view control) const override { return find(control).text; }
    void setText(std::string_view control, const std::string& text) override {
        find(control).text = text;
        note("text", control, text);
    }
    void setTextColor(std::string_view control, Rgb c) override {
        find(control);
        note("colour", control,
             std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue));
    }
    void setUnderline(std::string_view control, bool underlined) override {
        find(control).underlined = underlined;
        note("underline", control, underlined ? "1" : "0");
    }

  private:
    struct Control {
        bool visible = true;
        int value = 0;
        std::string text;
        bool underlined = false;
    };

    Control& find(std::string_view control) {
        const auto it = controls_.find(control);
        if (it == controls_.end())
            throw std::out_of_range(name_ + " has no control " + std::string(control));
        return it->second;
    }
    const Control& find(std::string_view control) const {
        return const_cast<RecordingWindow*>(this)->find(control);
    }
    void note(std::string_view what, std::string_view control, const std::string& detail) {
        journal_.push_back(std::string(what) + " " + name_ + "." + std::string(control) + "=" +
                           detail);
    }

    std::vector<std::string>& journal_;
    std::vector<RecordingWindow*>& alive_;
    std::string name_;
    EventSink& sink_;
    std::map<std::string, Control, std::less<>> controls_;
    bool shown_ = false;
    bool closed_ = false;
};

struct RecordedMessage {
    std::string text, title;
    MessageIcon icon;
    std::string owner;  // the window's name
};

struct BrowseCall {
    std::string owner, title, startFolder;
};

// A toolkit that records instead of showing anything: no test waits on a box, a dialog or a
// clock. Everything that happens is written to `journal` in order ("show Form2", "close Form1",
// "url ...", "exists ...", "text Form4.Label1=..."), so tests can check sequences across windows.
class RecordingToolkit : public Toolkit {
  public:
    std::unique_ptr<Window> createWindow(const WindowLayout& layout, EventSink& sink) override {
        journal.push_back("create " + std::string(layout.name));
        return std::make_unique<RecordingWindow>(journal, windows_, layout, sink);
    }
    void messageBox(Window& owner, const std::string& text, const std::string& title,
                    MessageIcon icon) override {
        journal.push_back("message " + text);
        messages.push_back({text, title, icon, static_cast<RecordingWindow&>(owner).name()});
    }
    std::string browseFolder(Window& owner, const std::string& title,
                             const std::string& startFolder) override {
        browseCalls.push_back({static_cast<RecordingWindow&>(owner).name(), title, startFolder});
        if (folderAnswers.empty())
            return {};
        std::string answer = std::move(folderAnswers.front());
        folderAnswers.pop_front();
        return answer;
    }
    void openUrl(const std::string& url) override { journal.push_back("url " + url); }
    // The work runs at once; the journal tells what came before and after it.
    void runBusy(const std::function<void()>& work) override {
        journal.push_back("busy");
        work();
        journal.push_back("idle");
    }
    void post(std::function<void()> task) override { posted_.push_back(std::move(task)); }
    void quit() override { ++quitRequests; }

    // Runs the posted tasks, and those they post, in order.
    void runPosted() {
        while (!posted_.empty()) {
            const std::function<void()> task = std::move(posted_.front());
            posted_.pop_front();
            task();
        }
    }

    // The window of that name that has not been destroyed, or nullptr.
    RecordingWindow* find(std::string_view name) const {
        const auto it = std::ranges::find(windows_, name, &RecordingWindow::name);
        return it == windows_.end() ? nullptr : *it;
    }
    RecordingWindow& window(std::string_view name) const {
        if (RecordingWindow* found = find(name))
            return *found;
        throw std::logic_error("no window " + std::string(name));
    }

    // Position of the first journal entry equal to `entry`, or the journal's size when absent.
    std::size_t at(std::string_view entry) const {
        return static_cast<std::size_t>(std::ranges::find(journal, entry) - journal.begin());
    }
    // The journal entries that hold `part`, from position `from` on.
    std::vector<std::string> entries(std::string_view part, std::size_t from = 0) const {
        std::vector<std::string> found;
        for (std::size_t i = from; i < journal.size(); ++i) {
            if (journal[i].find(part) != std::string::npos)
                found.push_back(journal[i]);
        }
        return found;
    }

    std::vector<std::string> journal;
    std::vector<RecordedMessage> messages;
    std::deque<std::string> folderAnswers;  // browseFolder answers in order; none left: cancel
    std::vector<BrowseCall> browseCalls;
    int quitRequests = 0;

  private:
    std::vector<RecordingWindow*> windows_;
    std::deque<std::function<void()>> posted_;
};

}  // namespace morvane::ui::test
