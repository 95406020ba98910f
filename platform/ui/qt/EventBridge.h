#pragma once

#include <QObject>
#include <map>
#include <string>

#include "platform/ui/Toolkit.h"

class QWidget;

namespace morvane::ui {

// Carries the Qt events of one window's widgets to the window's EventSink under the control
// names of its layout. It is a child of the window's widget, so it lives exactly as long as the
// widget does, which may be longer than the Window object (see QtWindow).
class EventBridge final : public QObject {
    Q_OBJECT

  public:
    EventBridge(QWidget& window, std::string windowName, EventSink& sink);

    // Registers a control's widget under its name. Call `watchAll` once all are registered.
    void name(QWidget& widget, std::string controlName, bool clickable);

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
    };

    const Control* controlOf(const QObject* object) const;
    void onMouseMove(const Control& control, QEvent& event);
    void onMouseRelease(const QObject& watched, const Control& control, QEvent& event);

    QWidget& window_;
    EventSink* sink_;
    bool closingQuietly_ = false;
    std::map<const QObject*, Control> controls_;
};

}  // namespace morvane::ui
