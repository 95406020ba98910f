// The toolkit contract's driver for the Qt layer, offscreen: the user's input as QTest makes it,
// and what the widgets tell.
#include <QComboBox>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleHints>
#include <QWindow>
#include <QtTest/QTest>
#include <algorithm>
#include <atomic>
#include <memory>

#include "tests/platform/ui/ToolkitContract.h"
#include "tests/platform/ui/qt/QtTestSupport.h"

namespace morvane::ui::test {
namespace {

QPoint qPoint(Point point) {
    return {point.x, point.y};
}

Rect rect(const QRect& r) {
    return {r.left(), r.top(), r.width(), r.height()};
}

Rgb rgb(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

// The layout a window was built from, by its name.
const ControlLayout& layoutOf(const QWidget& top, std::string_view control) {
    for (const WindowLayout* layout :
         {&form1Layout(), &form2Layout(), &form3Layout(), &form4Layout()}) {
        if (top.objectName() != qs(layout->name))
            continue;
        for (const ControlLayout& found : layout->controls) {
            if (found.name == control)
                return found;
        }
    }
    throw std::invalid_argument(std::string(control));
}

// A point of `area` (in window coordinates) where no control of it lies.
QPoint barePoint(QWidget& window, QWidget& area) {
    for (int y = area.height() - 3; y > 0; --y) {
        for (int x = area.width() - 3; x > 0; --x) {
            const QPoint point = area.mapTo(&window, QPoint(x, y));
            if (window.childAt(point) == &area || (&area == &window && !window.childAt(point)))
                return point;
        }
    }
    ADD_FAILURE() << "no bare point in " << area.objectName().toStdString();
    return {};
}

// Counts the paint events of a widget; it goes with the widget.
class PaintCounter final : public QObject {
  public:
    explicit PaintCounter(QWidget& widget) : QObject(&widget) { widget.installEventFilter(this); }
    std::shared_ptr<std::atomic<int>> count = std::make_shared<std::atomic<int>>(0);

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++*count;
        return false;
    }
};

class QtDriver final : public ToolkitDriver {
  public:
    Toolkit& toolkit() override { return toolkit_; }
    void useScript(DialogScript* script) override { toolkit_.useScript(script); }

    std::unique_ptr<Window> open(const WindowLayout& layout, EventSink& sink) override {
        auto window = toolkit_.createWindow(layout, sink);
        window->show();
        QWidget& top = widgetOf(*window);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&top));
        QApplication::setActiveWindow(&top);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&top));
        return window;
    }

    void settle() override { flushDeletes(); }

    bool settleUntil(const std::function<bool()>& done) override {
        const QDeadlineTimer deadline(5000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    int runLoop() override {
        // Quit must leave the loop by itself, not because its last window happened to close.
        QApplication::setQuitOnLastWindowClosed(false);
        QTimer guard;  // destroyed here, so it cannot end a later test's loop
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        guard.start(2000);
        const int code = QApplication::exec();
        QApplication::setQuitOnLastWindowClosed(true);
        return code;
    }

    // A loop that has been told to end returns at once, before its own exit.
    bool loopGoesOn() override {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&loop] { loop.exit(5); });
        return loop.exec() == 5;
    }

    std::vector<std::string> shownWindows() override {
        std::vector<std::string> shown;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible())
                shown.push_back((widget->objectName() + widget->windowTitle()).toStdString());
        }
        return shown;
    }

    bool has(Window& window, std::string_view control) override {
        return widgetOf(window).findChild<QWidget*>(qs(control)) != nullptr;
    }

    Point centreOf(Window& window, std::string_view control) override {
        QWidget& area = child(window, control);
        const QPoint centre = area.mapTo(&widgetOf(window), area.rect().center());
        return {centre.x(), centre.y()};
    }

    Point barePointOf(Window& window, std::string_view area) override {
        QWidget& top = widgetOf(window);
        const QPoint point =
            barePoint(top, top.objectName() == qs(area) ? top : child(window, area));
        return {point.x(), point.y()};
    }

    // Qt's own inner widgets (a drop-down box's line edit) speak for the control around them.
    std::string controlAt(Window& window, Point point) override {
        QWidget& top = widgetOf(window);
        QWidget* found = top.childAt(qPoint(point));
        while (found != nullptr &&
               (found->objectName().isEmpty() || found->objectName().startsWith("qt_")))
            found = found->parentWidget();
        return (found != nullptr ? found : &top)->objectName().toStdString();
    }

    void parkPointer() override {
        QCursor::setPos(0, 0);
        QCoreApplication::processEvents();
    }

    void movePointer(Window& window, Point point) override {
        QTest::mouseMove(&widgetOf(window), qPoint(point));
        QCoreApplication::processEvents();
    }

    void click(Window& window, std::string_view control) override {
        QTest::mouseClick(&child(window, control), Qt::LeftButton);
    }

    void clickReleasedElsewhere(Window& window, std::string_view control) override {
        QWidget& widget = child(window, control);
        QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(-40, -40));
    }

    void drag(Window& window, std::string_view control) override {
        QWidget& widget = child(window, control);
        QTest::mousePress(&widget, Qt::LeftButton);
        QTest::mouseMove(&widget, widget.rect().center() + QPoint(2, 0));
        QTest::mouseRelease(&widget, Qt::LeftButton, {}, widget.rect().center() + QPoint(2, 0));
    }

    void pressSpace(Window& window, std::string_view control) override {
        QTest::keyClick(&child(window, control), Qt::Key_Space);
    }

    void pressTab(Window& window) override {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &widgetOf(window), Qt::Key_Tab);
    }

    // The line edit inside a drop-down box speaks for the box.
    std::string focusName(Window&) override {
        QWidget* focus = QApplication::focusWidget();
        while (focus != nullptr && focus->objectName().isEmpty())
            focus = focus->parentWidget();
        return focus != nullptr ? focus->objectName().toStdString() : std::string("(none)");
    }

    void typeOver(Window& window, std::string_view control, const std::string& text) override {
        child(window, control).setFocus();
        QWidget* edit = QApplication::focusWidget();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, qs(text));
        QTest::keyClick(edit, Qt::Key_Return);
    }

    // Through the window system's part of Qt, which tells double clicks.
    void clickTwice(Window& window, Point point, int gap) override {
        const QPoint at = widgetOf(window).mapToGlobal(qPoint(point));
        const int first = QTest::lastMouseTimestamp + 10 * QTest::mouseDoubleClickInterval;
        pressAndRelease(at, first);
        pressAndRelease(at, first + gap);
        QTest::lastMouseTimestamp = first + gap + 10 * QTest::mouseDoubleClickInterval;
    }

    int doubleClickInterval() override {
        return QGuiApplication::styleHints()->mouseDoubleClickInterval();
    }

    // As the window system asks: a close event of its own, not the program's.
    void closeAsUser(Window& window) override { widgetOf(window).windowHandle()->close(); }

    bool shown(Window& window) override { return widgetOf(window).isVisible(); }

    std::function<bool()> existence(Window& window) override {
        return [widget = QPointer<QWidget>(&widgetOf(window))] { return !widget.isNull(); };
    }

    WindowFacts windowFacts(Window& window) override {
        const QWidget& top = widgetOf(window);
        const Qt::WindowFlags flags = top.windowFlags();
        return {rect(top.geometry()),
                top.windowTitle().toStdString(),
                !flags.testFlag(Qt::FramelessWindowHint),
                flags.testFlag(Qt::WindowCloseButtonHint),
                flags.testFlag(Qt::WindowMinimizeButtonHint),
                flags.testFlag(Qt::WindowMaximizeButtonHint),
                top.minimumSize() != top.maximumSize(),
                !top.windowIcon().isNull()};
    }

    ControlFacts controlFacts(Window& window, std::string_view control) override {
        QWidget& top = widgetOf(window);
        const QWidget& widget = child(window, control);
        ControlFacts facts{rect({widget.mapTo(&top, QPoint(0, 0)), widget.size()}),
                           widget.isEnabled(),
                           widget.focusPolicy() != Qt::NoFocus,
                           widget.toolTip().toStdString(),
                           {},
                           false};
        const ControlLayout& layout = layoutOf(top, control);
        if (layout.kind == ControlKind::Picture) {
            const QPixmap shown = static_cast<const QLabel&>(widget).pixmap();
            const QPixmap resource(QStringLiteral(":/pictures/") + qs(layout.caption));
            facts.bitmap = {0, 0, shown.width(), shown.height()};
            facts.bitmapIsResource = !resource.isNull() && shown.toImage() == resource.toImage();
        }
        return facts;
    }

    int listEntries(Window& window, std::string_view control) override {
        return static_cast<const QComboBox&>(child(window, control)).count();
    }

    void tick(Window& window, std::string_view name) override {
        QTimer& timer = this->timer(window, name);
        QTimerEvent tick(timer.timerId());
        QCoreApplication::sendEvent(&timer, &tick);
    }

    bool timerRuns(Window& window, std::string_view name) override {
        return timer(window, name).isActive();
    }

    std::optional<int> timerInterval(Window& window, std::string_view name) override {
        return timer(window, name).interval();
    }

    Rgb textColour(Window& window, std::string_view control) override {
        return rgb(child(window, control).palette().color(QPalette::WindowText));
    }

    bool underlined(Window& window, std::string_view control) override {
        return child(window, control).font().underline();
    }

    bool busyPointer(Window&) override {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor != nullptr && cursor->shape() == Qt::WaitCursor;
    }

    void requestPaint(Window& window) override { widgetOf(window).update(); }

    std::function<int()> countPaints(Window& window) override {
        auto* counter = new PaintCounter(widgetOf(window));
        return [count = counter->count] { return count->load(); };
    }

    ShownBox answerMessageBox(const std::function<void()>& open) override {
        ShownBox shown;
        withModal(
            [&shown](QWidget& modal) {
                auto* box = qobject_cast<QMessageBox*>(&modal);
                if (box == nullptr) {
                    ADD_FAILURE() << "not a message box";
                    modal.close();
                    return;
                }
                shown.title = box->windowTitle().toStdString();
                shown.text = box->text().toStdString();
                if (box->icon() == QMessageBox::Warning)
                    shown.icon = MessageIcon::Exclamation;
                if (box->icon() == QMessageBox::Information)
                    shown.icon = MessageIcon::Information;
                shown.buttons = static_cast<int>(box->buttons().size());
                shown.plainText = box->textFormat() == Qt::PlainText;
                shown.place = rect(box->frameGeometry());
                if (const QWidget* owner = box->parentWidget())
                    shown.owner = owner->window()->windowTitle().toStdString();
                box->buttons().front()->click();
            },
            [&] {
                open();
                return 0;
            });
        return shown;
    }

  private:
    // On the shown window at that point of the screen, as the window system would deliver it.
    static void pressAndRelease(QPoint at, int time) {
        QWidget* top = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->geometry().contains(at))
                top = widget;
        }
        ASSERT_NE(top, nullptr) << "no window there";
        QWindow* window = top->windowHandle();
        const QPointF local = window->mapFromGlobal(at);
        qt_handleMouseEvent(window, local, at, Qt::LeftButton, Qt::LeftButton,
                            QEvent::MouseButtonPress, Qt::NoModifier, time);
        qt_handleMouseEvent(window, local, at, Qt::NoButton, Qt::LeftButton,
                            QEvent::MouseButtonRelease, Qt::NoModifier, time + 1);
        QCoreApplication::processEvents();
    }

    QTimer& timer(Window& window, std::string_view name) {
        auto* found = widgetOf(window).findChild<QTimer*>(qs(name));
        if (found == nullptr)
            throw std::invalid_argument(std::string(name));
        return *found;
    }

    QtToolkit toolkit_;
};

}  // namespace

std::unique_ptr<ToolkitDriver> makeToolkitDriver() {
    return std::make_unique<QtDriver>();
}

}  // namespace morvane::ui::test
