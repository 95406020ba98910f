#include "platform/ui/qt/BusyRun.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <exception>
#include <thread>

namespace morvane::ui::busy {

namespace {

// Drops what the user does to any widget: the pointer, the keys, the close box. Timers, posted
// tasks and painting go on.
class InputBlock final : public QObject {
  public:
    InputBlock() {
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~InputBlock() override {
        QApplication::restoreOverrideCursor();
        qApp->removeEventFilter(this);
    }
    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The window system's close comes to the window before its widget.
        if (event->type() == QEvent::Close) {
            if (!event->spontaneous())
                return false;
            event->ignore();
            return true;
        }
        if (!watched->isWidgetType())
            return false;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
                return true;
            default:
                return false;
        }
    }
};

}  // namespace

// The loop ends early when the application is told to quit; the work is still waited for, as it
// uses what its caller holds.
void run(const std::function<void()>& work) {
    const InputBlock block;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace morvane::ui::busy
