// The events the Qt layer raises: which control a pointer move belongs to, clicks, value changes,
// timers and closing.
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>

#include "tests/platform/ui/qt/QtTestSupport.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

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

class QtWindowEvents : public QtTest {
  protected:
    std::unique_ptr<Window> open(const WindowLayout& layout) {
        auto window = toolkit.createWindow(layout, sink);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widgetOf(*window)));
        return window;
    }
};

TEST_F(QtWindowEvents, APointerMoveBelongsToTheControlOrBareSurfaceUnderItAlone) {
    for (const WindowLayout* layout : {&form4Layout(), &form2Layout()}) {
        auto window = open(*layout);
        QWidget& top = widgetOf(*window);
        for (const char* control : {"Check1", "Check4", "Check7", "Label2", "Image1", "Frame1",
                                    "Frame2", "Form4", "Combo1", "Form2"}) {
            if (!top.findChild<QWidget*>(control) && top.objectName() != control)
                continue;
            SCOPED_TRACE(control);
            QWidget& area = top.objectName() == control ? top : child(*window, control);
            const bool bare = area.inherits("QGroupBox") || &area == &top;
            sink.events.clear();
            QTest::mouseMove(&top,
                             bare ? barePoint(top, area) : area.mapTo(&top, area.rect().center()));
            QApplication::processEvents();
            EXPECT_THAT(sink.events, ElementsAre(Raised{control, Event::MouseMove}));
        }
        window->close();
    }
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
    const std::pair<const WindowLayout*, const char*> clicks[] = {
        {&form4Layout(), "Image2"}, {&form1Layout(), "Label3"}, {&form3Layout(), "Command1"}};
    for (const auto& [layout, control] : clicks) {
        auto window = open(*layout);
        window->setVisible(control, true);
        QTest::mouseClick(&child(*window, control), Qt::LeftButton);
        window->close();
    }
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
    sink.onEvent = [&window] { window.reset(); };
    window->setVisible("Image2", true);
    QTest::mouseClick(&child(*window, "Image2"), Qt::LeftButton);
    EXPECT_EQ(window, nullptr);
    flushDeletes();

    window = open(form3Layout());
    widgetOf(*window).close();
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
