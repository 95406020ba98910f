// Rules every window layout must keep, checked over the data as a whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "windows/layouts/Layouts.h"
#include "windows/layouts/Links.h"

namespace morvane::ui {
namespace {

const ControlLayout* find(const WindowLayout& window, std::string_view name) {
    const auto found = std::ranges::find(window.controls, name, &ControlLayout::name);
    return found == window.controls.end() ? nullptr : &*found;
}

// Names and tab places are unique; every control stands in the window or in a frame listed before
// it, and when shown fits inside it (Form4's Label1 reaches past Frame1 but is never shown); a
// picture is as large as its bitmap in whole pixels.
TEST(LayoutData, EveryControlIsUniqueAndFitsInAContainerListedBeforeIt) {
    for (const WindowLayout* window :
         {&form1Layout(), &form2Layout(), &form3Layout(), &form4Layout()}) {
        std::set<std::string_view> names{window->name};
        std::set<std::string_view> containers{window->name};
        std::set<int> tabs;
        for (const ControlLayout& control : window->controls) {
            SCOPED_TRACE(std::string(window->name) + "." + std::string(control.name));
            EXPECT_TRUE(names.insert(control.name).second);
            EXPECT_TRUE(control.tabIndex < 0 || tabs.insert(control.tabIndex).second);
            ASSERT_TRUE(containers.contains(control.container));
            if (control.kind == ControlKind::Frame)
                containers.insert(control.name);
            if (control.kind == ControlKind::Picture) {
                EXPECT_EQ(control.width % kTwipsPerPixel, 0);
                EXPECT_EQ(control.height % kTwipsPerPixel, 0);
                EXPECT_TRUE(control.caption.ends_with(".bmp"));
            }
            if (!control.visible || control.kind == ControlKind::Timer)
                continue;
            const ControlLayout* frame = find(*window, control.container);
            EXPECT_GT(control.width, 0);
            EXPECT_GT(control.height, 0);
            EXPECT_LE(control.left + control.width, frame ? frame->width : window->width);
            EXPECT_LE(control.top + control.height, frame ? frame->height : window->height);
        }
    }
}

TEST(LayoutData, EachHoverFaceLiesHiddenOverItsNormalFaceAndCarriesTheToolTip) {
    for (const WindowLayout* window : {&form2Layout(), &form3Layout(), &form4Layout()}) {
        for (auto [normalName, hoverName] : {std::pair{"Image1", "Image2"}, {"Image3", "Image4"}}) {
            SCOPED_TRACE(std::string(window->name) + "." + hoverName);
            const ControlLayout* normal = find(*window, normalName);
            const ControlLayout* hover = find(*window, hoverName);
            ASSERT_TRUE(normal && hover);
            EXPECT_EQ(
                std::tie(hover->container, hover->left, hover->top, hover->width, hover->height),
                std::tie(normal->container, normal->left, normal->top, normal->width,
                         normal->height));
            EXPECT_TRUE(normal->visible && normal->toolTip.empty());
            EXPECT_FALSE(hover->visible || hover->toolTip.empty());
            EXPECT_LT(hover, normal) << "the hover face is listed first, above its normal face";
        }
    }
}

TEST(LayoutData, StartWindowLinksShowTheMakerAddressesInOrder) {
    const char* const linkLabels[] = {"Label1", "Label3", "Label4"};
    std::set<std::string_view> urls;
    for (std::size_t i = 0; i < kMakerLinks.size(); ++i) {
        const ControlLayout* label = find(form1Layout(), linkLabels[i]);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->caption, kMakerLinks[i].shown);
        EXPECT_TRUE(kMakerLinks[i].url.starts_with("https://")) << kMakerLinks[i].url;
        urls.insert(kMakerLinks[i].url);
    }
    EXPECT_EQ(urls.size(), kMakerLinks.size());
}

}  // namespace
}  // namespace morvane::ui
