// The windows as the Qt layer builds them from their layouts: geometry, looks, faces, focus.
#include <QComboBox>
#include <QLabel>
#include <QtTest/QTest>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/ui/qt/QtLook.h"
#include "tests/platform/ui/qt/QtTestSupport.h"
#include "tests/support/WindowScenes.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAreArray;

const WindowLayout* const kAllWindows[] = {&form1Layout(), &form2Layout(), &form3Layout(),
                                           &form4Layout()};

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

using QtWindowLayout = QtTest;

TEST_F(QtWindowLayout, EveryWindowAndControlStandsWhereItsLayoutPutsIt) {
    for (const WindowLayout* layout : kAllWindows) {
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
                continue;
            }
            // A picture shows its bitmap at natural size and takes no focus.
            const QPixmap bitmap(QStringLiteral(":/pictures/") + qs(control.caption));
            ASSERT_FALSE(bitmap.isNull()) << "missing from the pictures";
            EXPECT_EQ(static_cast<const QLabel&>(widget).pixmap().toImage(), bitmap.toImage());
            EXPECT_EQ(bitmap.size(), widget.size());
            EXPECT_EQ(widget.focusPolicy(), Qt::NoFocus);
        }
    }
}

// Pictures lie beneath the other controls; among the faces, the one shown is on top.
TEST_F(QtWindowLayout, TheVisibleFaceAndTheBannerCaptionAreOnTop) {
    auto onTop = [](Window& window, std::string_view name) {
        const QWidget& control = child(window, name);
        const QPoint centre = control.mapTo(&widgetOf(window), control.rect().center());
        return widgetOf(window).childAt(centre) == &control;
    };
    for (const WindowLayout* layout : {&form2Layout(), &form3Layout(), &form4Layout()}) {
        SCOPED_TRACE(std::string(layout->name));
        auto window = toolkit.createWindow(*layout, sink);
        window->show();
        EXPECT_TRUE(onTop(*window, "Image1"));
        window->setVisible("Image2", true);
        EXPECT_TRUE(onTop(*window, "Image2"));
        window->close();
    }
    auto form1 = toolkit.createWindow(form1Layout(), sink);
    ASSERT_TRUE(
        child(*form1, "Image1").geometry().contains(child(*form1, "Label2").geometry().center()));
    EXPECT_TRUE(onTop(*form1, "Label2"));
}

// Where the focus goes: the same rounds for every toolkit.
TEST_F(QtWindowLayout, TheKeyboardVisitsTheOptionsInTabOrderAndNothingElse) {
    for (const morvane::test::TabRound& round : morvane::test::tabRounds()) {
        auto window = toolkit.createWindow(*round.layout, sink);
        showActive(*window);
        std::vector<std::string> order{focusName()};
        while (order.size() < round.focus.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.push_back(focusName());
        }
        EXPECT_THAT(order, ElementsAreArray(round.focus));
        window->close();
    }
}

TEST_F(QtWindowLayout, TheDropDownBoxTakesTypedTextWithoutAddingItToTheList) {
    auto window = toolkit.createWindow(form2Layout(), sink);
    const auto& combo = static_cast<const QComboBox&>(child(*window, "Combo1"));
    const auto items =
        std::ranges::find(form2Layout().controls, "Combo1", &ControlLayout::name)->items;
    ASSERT_EQ(combo.count(), static_cast<int>(items.size()));
    showActive(*window);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "counter strike 1.6 ");
    EXPECT_EQ(window->text("Combo1"), "counter strike 1.6 ");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(combo.count(), static_cast<int>(items.size()));
    window->close();
}

// Contrast ratio by the relative luminance of the web's accessibility guidelines.
double contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Regression: the chosen folder in Text1 and the ticks of the status boxes, the two things the user
// reads there, were drawn light grey on light grey (1.6:1). Fusion draws a tick in a darker shade
// of the text colour, so the text's contrast bounds the tick's.
TEST_F(QtWindowLayout, DisabledTextAndTicksReadAtFourAndAHalfToOneAndStillLookDisabled) {
    const std::pair<const WindowLayout*, const char*> controls[] = {
        {&form3Layout(), "Text1"},  {&form4Layout(), "Check4"}, {&form4Layout(), "Check5"},
        {&form4Layout(), "Check6"}, {&form4Layout(), "Check8"}, {&form4Layout(), "Check10"},
        {&form4Layout(), "Check13"}};
    for (const auto& [layout, name] : controls) {
        SCOPED_TRACE(name);
        auto window = toolkit.createWindow(*layout, sink);
        const QWidget& widget = child(*window, name);
        ASSERT_FALSE(widget.isEnabled());
        const QPalette& palette = widget.palette();
        const QColor text = palette.color(QPalette::Disabled, QPalette::Text);
        EXPECT_GE(contrast(text, palette.color(QPalette::Disabled, QPalette::Base)), 4.5)
            << text.name().toStdString() << " on "
            << palette.color(QPalette::Disabled, QPalette::Base).name().toStdString();
        EXPECT_NE(text, palette.color(QPalette::Active, QPalette::Text)) << "no longer grey";
    }
}

}  // namespace
}  // namespace morvane::ui::test
