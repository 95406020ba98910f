#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/DoubleClicks.h"
#include "platform/ui/Toolkit.h"

class QTimer;

namespace morvane::ui {

class EventBridge;

// A window built from its layout as a top-level QWidget with one child widget per control.
class QtWindow final : public Window {
  public:
    // Builds the window hidden and starts its enabled timers. `sink` must outlive this object.
    QtWindow(const WindowLayout& layout, EventSink& sink, DoubleClicks& doubleClicks);

    // Hides the widget and lets the event loop delete it: the window may be discarded from inside
    // one of its own events, while Qt still uses the widget.
    ~QtWindow() override;

    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    // The top-level widget, for dialogs that need an owner, and for pictures of the window.
    QWidget& widget() const { return *window_; }

    void show() override;
    void close() override;
    void setVisible(std::string_view control, bool visible) override;
    bool isVisible(std::string_view control) const override;
    int value(std::string_view control) const override;
    void setValue(std::string_view control, int value) override;
    std::string text(std::string_view control) const override;
    void setText(std::string_view control, const std::string& text) override;
    void setTextColor(std::string_view control, Rgb colour) override;
    void setUnderline(std::string_view control, bool underlined) override;

  private:
    void build(const WindowLayout& layout);
    void addControl(const ControlLayout& layout);
    void addTimer(const ControlLayout& layout);
    void orderFocus(const WindowLayout& layout);
    void stackPictures(const WindowLayout& layout);

    // Throws std::invalid_argument for a name the layout does not have.
    QWidget& control(std::string_view name) const;

    QPointer<QWidget> window_;
    EventBridge* bridge_;
    std::map<std::string, QWidget*, std::less<>> controls_;
    std::vector<QTimer*> timers_;
};

}  // namespace morvane::ui
