#include "platform/ui/qt/QtWindow.h"

#include <QCheckBox>
#include <QIcon>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

#include "platform/ui/ControlRules.h"
#include "platform/ui/qt/Controls.h"
#include "platform/ui/qt/EventBridge.h"
#include "platform/ui/qt/QtLook.h"

namespace morvane::ui {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::WindowFlags flagsFor(const WindowLayout& layout) {
    if (!layout.bordered)
        return Qt::Window | Qt::FramelessWindowHint;
    // Title bar and close box only: fixed size, no minimise or maximise box.
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

}  // namespace

QtWindow::QtWindow(const WindowLayout& layout, EventSink& sink, DoubleClicks& doubleClicks)
    : window_(new QWidget(nullptr, flagsFor(layout))),
      bridge_(new EventBridge(*window_, std::string(layout.name), sink, doubleClicks)) {
    try {
        build(layout);
    } catch (...) {
        delete window_;  // a layout that names a missing container
        throw;
    }
}

QtWindow::~QtWindow() {
    if (window_ == nullptr)
        return;  // already gone with the application
    bridge_->detach();
    for (QTimer* timer : timers_)
        timer->stop();
    window_->hide();
    window_->deleteLater();
}

void QtWindow::build(const WindowLayout& layout) {
    window_->setObjectName(qs(layout.name));
    window_->setWindowTitle(qs(layout.caption));
    window_->setWindowIcon(QIcon(QStringLiteral(":/pictures/morvane.ico")));
    window_->setFont(look::commonFont());
    look::applyWindowBackground(*window_);
    window_->setGeometry(look::pixels(layout.left), look::pixels(layout.top),
                         look::pixels(layout.width), look::pixels(layout.height));
    window_->setFixedSize(look::pixels(layout.width), look::pixels(layout.height));
    controls_.emplace(std::string(layout.name), window_.data());
    for (const ControlLayout& control : layout.controls) {
        if (control.kind == ControlKind::Timer) {
            addTimer(control);
        } else {
            addControl(control);
        }
    }
    stackPictures(layout);
    orderFocus(layout);
    bridge_->watchAll();
}

void QtWindow::addControl(const ControlLayout& layout) {
    QWidget& container = control(layout.container);
    QWidget* widget = controls::make(layout, container);
    controls_.emplace(std::string(layout.name), widget);
    bridge_->name(*widget, std::string(layout.name), reportsOwnClicks(layout), raisesClick(layout));
    const std::string name(layout.name);
    // A check box raises Click whenever its value changes, also when the program sets it.
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        QObject::connect(box, &QCheckBox::stateChanged, bridge_,
                         [bridge = bridge_, name] { bridge->report(name, Event::Click); });
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QObject::connect(button, &QPushButton::clicked, bridge_,
                         [bridge = bridge_, name] { bridge->report(name, Event::Click); });
    }
}

void QtWindow::addTimer(const ControlLayout& layout) {
    auto* timer = new QTimer(window_);
    timer->setObjectName(qs(layout.name));
    timer->setInterval(layout.interval);
    QObject::connect(timer, &QTimer::timeout, bridge_,
                     [bridge = bridge_, name = std::string(layout.name)] {
                         bridge->report(name, Event::Timer);
                     });
    timers_.push_back(timer);
    if (layout.enabled)
        timer->start();
}

// Pictures lie beneath the other controls of their container, so a caption over a banner shows;
// among the pictures, the one listed first is on top, as in the tables.
void QtWindow::stackPictures(const WindowLayout& layout) {
    for (const ControlLayout& control : layout.controls) {
        if (control.kind == ControlKind::Picture)
            controls_.at(std::string(control.name))->lower();
    }
}

// Keyboard order by tab place; the first control that can take the focus holds it at start.
void QtWindow::orderFocus(const WindowLayout& layout) {
    std::vector<const ControlLayout*> order;
    for (const ControlLayout& control : layout.controls) {
        if (takesFocus(control))
            order.push_back(&control);
    }
    std::ranges::sort(order, {}, &ControlLayout::tabIndex);
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(&control(order[i - 1]->name), &control(order[i]->name));
    }
    if (!order.empty())
        control(order.front()->name).setFocus();
}

void QtWindow::show() {
    window_->show();
    window_->activateWindow();
}

void QtWindow::close() {
    for (QTimer* timer : timers_)
        timer->stop();
    bridge_->closeQuietly();
}

void QtWindow::setVisible(std::string_view name, bool visible) {
    control(name).setVisible(visible);
}

// The control's own visibility flag, which holds while the window itself is hidden.
bool QtWindow::isVisible(std::string_view name) const {
    return !control(name).isHidden();
}

int QtWindow::value(std::string_view name) const {
    return controls::value(control(name));
}

void QtWindow::setValue(std::string_view name, int value) {
    controls::setValue(control(name), value);
}

std::string QtWindow::text(std::string_view name) const {
    return controls::text(control(name)).toStdString();
}

void QtWindow::setText(std::string_view name, const std::string& text) {
    controls::setText(control(name), QString::fromStdString(text));
}

void QtWindow::setTextColor(std::string_view name, Rgb colour) {
    QWidget& widget = control(name);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, QColor(colour.red, colour.green, colour.blue));
    widget.setPalette(palette);
}

void QtWindow::setUnderline(std::string_view name, bool underlined) {
    QWidget& widget = control(name);
    QFont font = widget.font();
    font.setUnderline(underlined);
    widget.setFont(font);
}

QWidget& QtWindow::control(std::string_view name) const {
    const auto found = controls_.find(name);
    if (found == controls_.end()) {
        throw std::invalid_argument("no control " + std::string(name) + " in " +
                                    window_->objectName().toStdString());
    }
    return *found->second;
}

}  // namespace morvane::ui
