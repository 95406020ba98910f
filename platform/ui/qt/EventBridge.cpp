#include "platform/ui/qt/EventBridge.h"

#include <QMouseEvent>
#include <QWidget>

namespace morvane::ui {

EventBridge::EventBridge(QWidget& window, std::string windowName, EventSink& sink,
                         DoubleClicks& doubleClicks)
    : QObject(&window), window_(window), sink_(&sink), doubleClicks_(doubleClicks) {
    controls_[&window] = Control{std::move(windowName), false, false};
}

void EventBridge::name(QWidget& widget, std::string controlName, bool clickable, bool raisesClick) {
    controls_[&widget] = Control{std::move(controlName), clickable, raisesClick};
}

void EventBridge::watchAll() {
    QList<QWidget*> widgets = window_.findChildren<QWidget*>();
    widgets.prepend(&window_);
    for (QWidget* widget : widgets) {
        if (widget != &window_ && widget->isWindow())
            continue;  // a drop-down list, a tool tip
        if (!controls_.contains(widget)) {
            const QObject* owner = widget->parent();
            while (owner != nullptr && !controls_.contains(owner))
                owner = owner->parent();
            if (owner == nullptr)
                continue;
            controls_[widget] = Control{controls_.at(owner).name, false, false};
        }
        // Moves without a button held must arrive, and must stop at the control under the pointer.
        widget->setMouseTracking(true);
        widget->setAttribute(Qt::WA_NoMousePropagation);
        widget->installEventFilter(this);
    }
}

void EventBridge::report(const std::string& control, Event event) {
    if (sink_ != nullptr)
        sink_->handle(control, event);
}

void EventBridge::closeQuietly() {
    closingQuietly_ = true;
    window_.close();
}

const EventBridge::Control* EventBridge::controlOf(const QObject* object) const {
    const auto found = controls_.find(object);
    return found == controls_.end() ? nullptr : &found->second;
}

bool EventBridge::eventFilter(QObject* watched, QEvent* event) {
    const Control* control = controlOf(watched);
    if (control == nullptr)
        return false;
    switch (event->type()) {
        case QEvent::MouseMove:
            onMouseMove(*control, *event);
            return event->isAccepted();
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return secondPress(*control, *event);
        case QEvent::MouseButtonRelease:
            if (static_cast<const QMouseEvent&>(*event).button() == Qt::LeftButton &&
                doubleClicks_.dropRelease())
                return true;
            onMouseRelease(*watched, *control, *event);
            return false;
        case QEvent::Close:
            if (watched == &window_ && !closingQuietly_) {
                // A copy: the handler may discard the window, and this bridge with it later.
                const std::string windowName = control->name;
                report(windowName, Event::Unload);
            }
            return false;
        default:
            return false;
    }
}

// A move with a button held belongs to a drag or a press and stays with the widget; a plain move
// is the control's own and is not seen by the control under it.
void EventBridge::onMouseMove(const Control& control, QEvent& event) {
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    if (mouse.buttons() != Qt::NoButton) {
        event.setAccepted(false);
        return;
    }
    event.setAccepted(true);
    const std::string name = control.name;
    report(name, Event::MouseMove);
}

// Qt turns the second press of a double click on one widget into a double-click event, which
// buttons take as a press; a second press on a window the first click opened comes as a press.
// Either is dropped on a control that raises Click.
bool EventBridge::secondPress(const Control& control, const QEvent& event) {
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    if (mouse.button() != Qt::LeftButton)
        return false;
    const QPoint at = mouse.globalPosition().toPoint();
    return doubleClicks_.dropPress(static_cast<std::uint32_t>(mouse.timestamp()), at.x(), at.y(),
                                   control.raisesClick);
}

// A click on a label or a picture: the press landed on it (Qt sends the release there) and the
// button comes up over it.
void EventBridge::onMouseRelease(const QObject& watched, const Control& control, QEvent& event) {
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    const auto* widget = qobject_cast<const QWidget*>(&watched);
    if (!control.clickable || mouse.button() != Qt::LeftButton || widget == nullptr)
        return;
    if (!widget->rect().contains(mouse.position().toPoint()))
        return;
    const std::string name = control.name;
    report(name, Event::Click);
}

}  // namespace morvane::ui
