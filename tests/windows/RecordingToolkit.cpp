#include "RecordingToolkit.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace morvane::ui::test {

namespace {

std::string describe(Rgb colour) {
    return std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue);
}

}  // namespace

RecordingWindow::RecordingWindow(RecordingToolkit& toolkit, const WindowLayout& layout,
                                 EventSink& sink)
    : toolkit_(toolkit), name_(layout.name), sink_(sink) {
    for (const ControlLayout& control : layout.controls) {
        Control state;
        state.kind = control.kind;
        state.visible = control.visible;
        state.text = control.caption;
        controls_.emplace(std::string(control.name), std::move(state));
    }
    toolkit_.windows_.push_back(this);
}

RecordingWindow::~RecordingWindow() {
    std::erase(toolkit_.windows_, this);
}

RecordingWindow::Control& RecordingWindow::find(std::string_view control) {
    const auto it = controls_.find(control);
    if (it == controls_.end()) {
        throw std::out_of_range(name_ + " has no control " + std::string(control));
    }
    return it->second;
}

const RecordingWindow::Control& RecordingWindow::find(std::string_view control) const {
    return const_cast<RecordingWindow*>(this)->find(control);
}

void RecordingWindow::requireReachable(std::string_view control, Event event) const {
    if (closed_)
        throw std::logic_error(name_ + " is closed");
    if (event == Event::Timer)
        return;
    if (!shown_)
        throw std::logic_error(name_ + " is not shown");
    if (control != name_ && !find(control).visible) {
        throw std::logic_error(name_ + "." + std::string(control) + " is hidden");
    }
}

void RecordingWindow::note(std::string_view what, std::string_view control,
                           const std::string& detail) {
    toolkit_.journal.push_back(std::string(what) + " " + name_ + "." + std::string(control) + "=" +
                               detail);
}

void RecordingWindow::raise(std::string_view control, Event event) {
    requireReachable(control, event);
    sink_.handle(control, event);
}

void RecordingWindow::press(std::string_view normalFace, std::string_view hoverFace) {
    if (isVisible(normalFace))
        hover(normalFace);
    click(hoverFace);
}

void RecordingWindow::setValueByUser(std::string_view control, int value) {
    requireReachable(control, Event::Click);
    setValue(control, value);
}

void RecordingWindow::type(std::string_view control, const std::string& text) {
    requireReachable(control, Event::Click);
    find(control).text = text;
}

void RecordingWindow::show() {
    shown_ = true;
    toolkit_.journal.push_back("show " + name_);
}

void RecordingWindow::close() {
    shown_ = false;
    closed_ = true;
    toolkit_.journal.push_back("close " + name_);
}

void RecordingWindow::setVisible(std::string_view control, bool visible) {
    find(control).visible = visible;
    note("visible", control, visible ? "1" : "0");
}

// As on the real toolkit, a check box raises Click whenever its value changes, whoever changed it.
void RecordingWindow::setValue(std::string_view control, int value) {
    Control& box = find(control);
    const bool changed = box.value != value;
    box.value = value;
    note("value", control, std::to_string(value));
    if (changed)
        sink_.handle(control, Event::Click);
}

void RecordingWindow::setText(std::string_view control, const std::string& text) {
    find(control).text = text;
    note("text", control, text);
}

void RecordingWindow::setTextColor(std::string_view control, Rgb colour) {
    find(control).colour = colour;
    note("colour", control, describe(colour));
}

void RecordingWindow::setUnderline(std::string_view control, bool underlined) {
    find(control).underlined = underlined;
    note("underline", control, underlined ? "1" : "0");
}

std::unique_ptr<Window> RecordingToolkit::createWindow(const WindowLayout& layout,
                                                       EventSink& sink) {
    journal.push_back("create " + std::string(layout.name));
    return std::make_unique<RecordingWindow>(*this, layout, sink);
}

void RecordingToolkit::messageBox(const std::string& text, const std::string& title,
                                  MessageIcon icon) {
    journal.push_back("message " + text);
    messages.push_back({text, title, icon});
}

std::string RecordingToolkit::browseFolder(Window& owner, const std::string& title,
                                           const std::string& startFolder) {
    browseCalls.push_back({static_cast<RecordingWindow&>(owner).name(), title, startFolder});
    journal.push_back("browse");
    if (folderAnswers.empty())
        return {};
    std::string answer = std::move(folderAnswers.front());
    folderAnswers.pop_front();
    return answer;
}

bool RecordingToolkit::pathExists(const std::string& path) {
    journal.push_back("exists " + path);
    pathsTested.push_back(path);
    std::error_code error;
    return existingPaths.contains(path) || std::filesystem::exists(path, error);
}

void RecordingToolkit::openUrl(const std::string& url) {
    journal.push_back("url " + url);
    urls.push_back(url);
}

void RecordingToolkit::quit() {
    journal.push_back("quit");
    ++quitRequests;
}

void RecordingToolkit::runPosted() {
    while (!posted_.empty()) {
        const std::function<void()> task = std::move(posted_.front());
        posted_.pop_front();
        task();
    }
}

RecordingWindow* RecordingToolkit::find(std::string_view name) const {
    const auto it = std::find_if(windows_.rbegin(), windows_.rend(),
                                 [name](const RecordingWindow* w) { return w->name() == name; });
    return it == windows_.rend() ? nullptr : *it;
}

RecordingWindow& RecordingToolkit::window(std::string_view name) const {
    RecordingWindow* found = find(name);
    if (found == nullptr)
        throw std::logic_error("no window " + std::string(name));
    return *found;
}

std::size_t journalIndex(const RecordingToolkit& toolkit, std::string_view entry) {
    const auto& journal = toolkit.journal;
    return static_cast<std::size_t>(std::find(journal.begin(), journal.end(), entry) -
                                    journal.begin());
}

}  // namespace morvane::ui::test
