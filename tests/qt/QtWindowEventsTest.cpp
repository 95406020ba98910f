// The events the Qt layer raises: which control a pointer move belongs to, clicks, value changes,
// timers and closing.
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>

#include "Layouts.h"
#include "QtTestSupport.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Raised = std::pair<std::string, Event>;

// A point of `area` (in window coordinates) where no control of it lies.
QPoint barePoint(QWidget& window, QWidget& area) {
    for (int y = area.height() - 3; y > 0; --y) {
        for (int x = area.width() - 3; x > 0; --x) {
            const QPoint point = area.mapTo(&window, QPoint(x, y));
            if (window.childAt(point) == &area || (&area == &window && !window.childAt(point))) {
                return point;
            }
        }
    }
    ADD_FAILURE() << "no bare point in " << area.objectName().toStdString();
    return {};
}

QPoint centreOf(QWidget& window, QWidget& control) {
    return control.mapTo(&window, control.rect().center());
}

class QtWindowEvents : public QtTest {
  protected:
    std::unique_ptr<Window> open(const WindowLayout& layout) {
        auto window = toolkit.createWindow(layout, sink);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widgetOf(*window)));
        return window;
    }
    void moveTo(Window& window, QPoint point) {
        QTest::mouseMove(&widgetOf(window), point);
        QApplication::processEvents();
    }
    void moveOver(Window& window, std::string_view control) {
        moveTo(window, centreOf(widgetOf(window), child(window, control)));
    }
};

TEST_F(QtWindowEvents, APointerMoveBelongsToTheControlUnderItAlone) {
    auto window = open(form4Layout());
    for (const char* control : {"Check1", "Check4", "Check7", "Label2", "Image1", "Frame2"}) {
        SCOPED_TRACE(control);
        sink.events.clear();
        if (std::string_view(control) == "Frame2") {
            moveTo(*window, barePoint(widgetOf(*window), child(*window, control)));
        } else {
            moveOver(*window, control);
        }
        EXPECT_THAT(sink.events, ElementsAre(Raised{control, Event::MouseMove}));
    }
    window->close();
}

TEST_F(QtWindowEvents, BareSurfacesReportTheWindowAndTheFrame) {
    auto window = open(form4Layout());
    sink.events.clear();
    moveTo(*window, barePoint(widgetOf(*window), child(*window, "Frame1")));
    moveTo(*window, barePoint(widgetOf(*window), widgetOf(*window)));
    EXPECT_THAT(sink.events,
                ElementsAre(Raised{"Frame1", Event::MouseMove}, Raised{"Form4", Event::MouseMove}));
    window->close();
}

TEST_F(QtWindowEvents, AMoveOverTheDropDownTextIsTheBoxOwn) {
    auto window = open(form2Layout());
    moveOver(*window, "Combo1");
    EXPECT_THAT(sink.controlsWith(Event::MouseMove), ElementsAre("Combo1"));
    window->close();
}

TEST_F(QtWindowEvents, AMoveWithAButtonHeldIsNoPointerMove) {
    auto window = open(form4Layout());
    QWidget& box = child(*window, "Check1");
    QTest::mousePress(&box, Qt::LeftButton);
    QTest::mouseMove(&box, box.rect().center() + QPoint(2, 0));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, box.rect().center() + QPoint(2, 0));
    EXPECT_THAT(sink.controlsWith(Event::MouseMove), IsEmpty());
    EXPECT_THAT(sink.controlsWith(Event::Click), ElementsAre("Check1"));
    window->close();
}

TEST_F(QtWindowEvents, ClicksOnPicturesLabelsAndTheButton) {
    auto form4 = open(form4Layout());
    form4->setVisible("Image2", true);
    QTest::mouseClick(&child(*form4, "Image2"), Qt::LeftButton);
    form4->close();
    auto form1 = open(form1Layout());
    QTest::mouseClick(&child(*form1, "Label3"), Qt::LeftButton);
    form1->close();
    auto form3 = open(form3Layout());
    QTest::mouseClick(&child(*form3, "Command1"), Qt::LeftButton);
    form3->close();
    EXPECT_THAT(sink.controlsWith(Event::Click), ElementsAre("Image2", "Label3", "Command1"));
}

TEST_F(QtWindowEvents, ACheckBoxRaisesClickWheneverItsValueChanges) {
    auto window = open(form4Layout());
    QTest::mouseClick(&child(*window, "Check1"), Qt::LeftButton);  // 0 -> 1
    QTest::keyClick(&child(*window, "Check1"), Qt::Key_Space);     // 1 -> 0
    window->setValue("Check4", 1);                                 // by the program
    window->setValue("Check4", 1);                                 // no change: no Click
    window->setValue("Check4", 2);
    EXPECT_THAT(sink.controlsWith(Event::Click),
                ElementsAre("Check1", "Check1", "Check4", "Check4"));
    EXPECT_EQ(window->value("Check1"), 0);
    EXPECT_EQ(window->value("Check4"), 2);
    window->close();
}

TEST_F(QtWindowEvents, OnlyAUserCloseRaisesUnload) {
    auto form4 = open(form4Layout());
    form4->close();
    EXPECT_FALSE(widgetOf(*form4).isVisible());
    auto form2 = open(form2Layout());
    widgetOf(*form2).close();  // the close box, Alt+F4, the session ending
    EXPECT_FALSE(widgetOf(*form2).isVisible());
    auto form3 = open(form3Layout());
    form3.reset();  // discarded without closing
    flushDeletes();
    EXPECT_THAT(sink.events, ElementsAre(Raised{"Form2", Event::Unload}));
}

TEST_F(QtWindowEvents, AWindowDiscardedFromItsOwnEventsDoesNotCrash) {
    std::unique_ptr<Window> window = open(form2Layout());
    sink.onEvent = [&window](std::string_view, Event) { window.reset(); };
    window->setVisible("Image2", true);
    QTest::mouseClick(&child(*window, "Image2"), Qt::LeftButton);
    EXPECT_EQ(window, nullptr);
    flushDeletes();

    window = open(form3Layout());
    sink.onEvent = [&window](std::string_view, Event) { window.reset(); };
    QWidget* top = &widgetOf(*window);
    top->close();
    EXPECT_EQ(window, nullptr);
    EXPECT_THAT(sink.controlsWith(Event::Unload), ElementsAre("Form3"));
}

TEST_F(QtWindowEvents, StartWindowTimerRunsFromCreationUntilClosed) {
    auto window = toolkit.createWindow(form1Layout(), sink);
    auto* timer = widgetOf(*window).findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(),
              std::ranges::find(form1Layout().controls, "Timer1", &ControlLayout::name)->interval);
    // No waiting on real time: the tick arrives the way the event loop delivers it.
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer, &tick);
    EXPECT_THAT(sink.events, ElementsAre(Raised{"Timer1", Event::Timer}));
    window->close();
    EXPECT_FALSE(timer->isActive()) << "a closed window's timer must not tick again";
}

}  // namespace
}  // namespace morvane::ui::test
