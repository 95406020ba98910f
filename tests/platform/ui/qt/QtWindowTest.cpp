// The windows as the Qt layer builds them, beyond the toolkit contract: nesting and palette.
#include <algorithm>
#include <cmath>
#include <utility>

#include "tests/platform/ui/qt/QtTestSupport.h"

namespace morvane::ui::test {
namespace {

using QtWindowLayout = QtTest;

// Controls are widgets inside the frames that hold them, so a frame's own area is what lies bare.
TEST_F(QtWindowLayout, ControlsNestInTheirContainers) {
    for (const WindowLayout* layout :
         {&form1Layout(), &form2Layout(), &form3Layout(), &form4Layout()}) {
        auto window = toolkit.createWindow(*layout, sink);
        for (const ControlLayout& control : layout->controls) {
            if (control.kind == ControlKind::Timer)
                continue;
            SCOPED_TRACE(std::string(layout->name) + "." + std::string(control.name));
            EXPECT_EQ(child(*window, control.name).parentWidget()->objectName(),
                      qs(control.container));
        }
    }
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
