#pragma once

#include <QObject>
#include <map>
#include <string>

#include "platform/ui/DoubleClicks.h"
#include "platform/ui/Toolkit.h"

class QWidget;

namespace morvane::ui {

// Carries the Qt events of one window's widgets to the window's EventSink under the control
// names of its layout. It is a child of the window's widget, so it lives exactly as long as the
// widget does, which may be longer than the Window object (see QtWindow).
class EventBridge final : public QObject {
    Q_OBJECT

  public:
    // `doubleClicks` is the toolkit's, shared by all its windows; it must outlive the bridge.
    EventBridge(QWidget& window, std::string windowName, EventSink& sink,
                DoubleClicks& doubleClicks);

    // Registers a control's widget under its name: `clickable` when a click on it is reported
    // here, `raisesClick` when it raises Click at all. Call `watchAll` once all are registered.
    void name(QWidget& widget, std::string controlName, bool clickable, bool raisesClick);

    // Watches the window and every widget in it; an unnamed inner widget (the line edit of a drop-
    // down box) speaks for the nearest named control around it.
    void watchAll();

    // Hands one event to the sink, unless detached.
    void report(const std::string& control, Event event);

    // Closes the window without an Unload event, for good.
    void closeQuietly();

    // No event reaches the sink from now on.
    void detach() { sink_ = nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Control {
        std::string name;
        bool clickable = false;
        bool raisesClick = false;
    };

    const Control* controlOf(const QObject* object) const;
    void onMouseMove(const Control& control, QEvent& event);
    void onMouseRelease(const QObject& watched, const Control& control, QEvent& event);
    bool secondPress(const Control& control, const QEvent& event);

    QWidget& window_;
    EventSink* sink_;
    DoubleClicks& doubleClicks_;
    bool closingQuietly_ = false;
    std::map<const QObject*, Control> controls_;
};

}  // namespace morvane::ui
