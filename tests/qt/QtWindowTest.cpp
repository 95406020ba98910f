// The windows as the Qt layer builds them from their layouts: geometry, looks, faces, focus.
#include <QComboBox>
#include <QLabel>
#include <QtTest/QTest>
#include <algorithm>

#include "Layouts.h"
#include "QtLook.h"
#include "QtTestSupport.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAre;

const WindowLayout* const kAllWindows[] = {&form1Layout(), &form2Layout(), &form3Layout(),
                                           &form4Layout()};

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixelRect(int left, int top, int width, int height) {
    return {look::pixels(left), look::pixels(top), look::pixels(width), look::pixels(height)};
}

// Shows the window and gives it the keyboard, as a click on it would.
void showActive(Window& window) {
    window.show();
    QApplication::setActiveWindow(&widgetOf(window));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&widgetOf(window)));
}

std::string focusName() {
    QWidget* focus = QApplication::focusWidget();
    // The line edit inside a drop-down box speaks for the box.
    while (focus != nullptr && focus->objectName().isEmpty())
        focus = focus->parentWidget();
    return focus != nullptr ? focus->objectName().toStdString() : std::string("(none)");
}

std::vector<std::string> tabRound(int presses) {
    std::vector<std::string> order{focusName()};
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(focusName());
    }
    return order;
}

using QtWindowLayout = QtTest;

TEST_F(QtWindowLayout, EveryWindowHasItsClientAreaAndPlaceAndNoResizing) {
    for (const WindowLayout* layout : kAllWindows) {
        SCOPED_TRACE(std::string(layout->name));
        auto window = toolkit.createWindow(*layout, sink);
        const QWidget& top = widgetOf(*window);
        EXPECT_EQ(top.geometry(),
                  pixelRect(layout->left, layout->top, layout->width, layout->height));
        EXPECT_EQ(top.minimumSize(), top.maximumSize());
        EXPECT_EQ(top.windowTitle(), qs(layout->caption));
        EXPECT_EQ(top.windowFlags().testFlag(Qt::FramelessWindowHint), !layout->bordered);
        EXPECT_FALSE(top.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(top.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(top.windowIcon().isNull()) << "the icon is among the pictures";
    }
}

TEST_F(QtWindowLayout, EveryControlStandsWhereItsLayoutPutsIt) {
    for (const WindowLayout* layout : kAllWindows) {
        auto window = toolkit.createWindow(*layout, sink);
        for (const ControlLayout& control : layout->controls) {
            SCOPED_TRACE(std::string(layout->name) + "." + std::string(control.name));
            if (control.kind == ControlKind::Timer)
                continue;
            const QWidget& widget = child(*window, control.name);
            EXPECT_EQ(widget.parentWidget()->objectName(), qs(control.container));
            EXPECT_EQ(widget.geometry(),
                      pixelRect(control.left, control.top, control.width, control.height));
            EXPECT_EQ(window->isVisible(control.name), control.visible);
            EXPECT_EQ(widget.isEnabled(), control.enabled);
            EXPECT_EQ(widget.toolTip(), qs(control.toolTip));
            if (control.kind != ControlKind::Picture) {
                EXPECT_EQ(window->text(control.name), control.caption);
            }
        }
    }
}

TEST_F(QtWindowLayout, PicturesShowTheirBitmapAtNaturalSize) {
    for (const WindowLayout* layout : kAllWindows) {
        auto window = toolkit.createWindow(*layout, sink);
        for (const ControlLayout& control : layout->controls) {
            if (control.kind != ControlKind::Picture)
                continue;
            SCOPED_TRACE(std::string(layout->name) + "." + std::string(control.name));
            const auto& picture = static_cast<const QLabel&>(child(*window, control.name));
            const QPixmap bitmap(QStringLiteral(":/pictures/") + qs(control.caption));
            ASSERT_FALSE(bitmap.isNull()) << "missing from the pictures";
            EXPECT_EQ(picture.pixmap().toImage(), bitmap.toImage());
            EXPECT_EQ(bitmap.size(), picture.size());
            EXPECT_EQ(picture.focusPolicy(), Qt::NoFocus);
        }
    }
}

TEST_F(QtWindowLayout, OnlyNormalFacesShowWhenAWindowOpens) {
    for (const WindowLayout* layout : {&form2Layout(), &form3Layout(), &form4Layout()}) {
        SCOPED_TRACE(std::string(layout->name));
        auto window = toolkit.createWindow(*layout, sink);
        window->show();
        EXPECT_TRUE(child(*window, "Image1").isVisible());
        EXPECT_TRUE(child(*window, "Image3").isVisible());
        EXPECT_FALSE(child(*window, "Image2").isVisible());
        EXPECT_FALSE(child(*window, "Image4").isVisible());
        // Whatever lies over the normal face at its centre, it is the normal face that shows.
        const QWidget& normal = child(*window, "Image1");
        const QPoint centre = normal.mapTo(&widgetOf(*window), normal.rect().center());
        EXPECT_EQ(widgetOf(*window).childAt(centre), &normal);
    }
}

TEST_F(QtWindowLayout, AHoverFaceShownLiesOverItsNormalFace) {
    auto window = toolkit.createWindow(form2Layout(), sink);
    window->show();
    window->setVisible("Image2", true);
    const QWidget& hover = child(*window, "Image2");
    const QPoint centre = hover.mapTo(&widgetOf(*window), hover.rect().center());
    EXPECT_EQ(widgetOf(*window).childAt(centre), &hover);
}

TEST_F(QtWindowLayout, StartCaptionOverTheBannerIsDrawnAboveIt) {
    auto window = toolkit.createWindow(form1Layout(), sink);
    const QWidget& caption = child(*window, "Label2");
    const QPoint centre = caption.geometry().center();
    ASSERT_TRUE(child(*window, "Image1").geometry().contains(centre));
    EXPECT_EQ(widgetOf(*window).childAt(centre), &caption);
}

TEST_F(QtWindowLayout, OptionsWindowTabsThroughTheOptionsOnly) {
    auto window = toolkit.createWindow(form4Layout(), sink);
    showActive(*window);
    EXPECT_THAT(tabRound(8), ElementsAre("Check1", "Check2", "Check3", "Check7", "Check9",
                                         "Check11", "Check12", "Check14", "Check1"));
    window->close();
}

TEST_F(QtWindowLayout, FocusRestsOnTheOnlyControlThatCanTakeIt) {
    auto form2 = toolkit.createWindow(form2Layout(), sink);
    showActive(*form2);
    EXPECT_THAT(tabRound(2), ElementsAre("Combo1", "Combo1", "Combo1"));
    form2->close();

    auto form3 = toolkit.createWindow(form3Layout(), sink);
    showActive(*form3);
    EXPECT_THAT(tabRound(2), ElementsAre("Command1", "Command1", "Command1"));
    form3->close();
}

TEST_F(QtWindowLayout, StatusBoxesAndTheFolderTextNeverTakeTheFocusOrInput) {
    auto form4 = toolkit.createWindow(form4Layout(), sink);
    showActive(*form4);
    for (const char* box : {"Check4", "Check5", "Check6", "Check8", "Check10", "Check13"}) {
        SCOPED_TRACE(box);
        child(*form4, box).setFocus();
        QTest::mouseClick(&child(*form4, box), Qt::LeftButton);
        QTest::keyClick(&child(*form4, box), Qt::Key_Space);
        EXPECT_EQ(focusName(), "Check1");
        EXPECT_EQ(form4->value(box), 0);
    }
    form4->close();

    auto form3 = toolkit.createWindow(form3Layout(), sink);
    showActive(*form3);
    child(*form3, "Text1").setFocus();
    QTest::keyClicks(&child(*form3, "Text1"), "typed");
    EXPECT_EQ(focusName(), "Command1");
    EXPECT_EQ(form3->text("Text1"), "");
    form3->close();
}

TEST_F(QtWindowLayout, DropDownBoxOpensWithItsTextAndTakesTypedText) {
    auto window = toolkit.createWindow(form2Layout(), sink);
    const auto& combo = static_cast<const QComboBox&>(child(*window, "Combo1"));
    const auto& controls = form2Layout().controls;
    const auto data = std::ranges::find(controls, "Combo1", &ControlLayout::name);
    ASSERT_EQ(combo.count(), static_cast<int>(data->items.size()));
    EXPECT_EQ(window->text("Combo1"), "Counter Strike 1.6");
    showActive(*window);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "counter strike 1.6 ");
    EXPECT_EQ(window->text("Combo1"), "counter strike 1.6 ");
    EXPECT_EQ(combo.count(), 2) << "typed text is not added to the list";
    window->close();
}

}  // namespace
}  // namespace morvane::ui::test
