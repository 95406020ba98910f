// Rules every window layout must keep, checked over the data as a whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "Layouts.h"
#include "Links.h"

namespace morvane::ui {
namespace {

const WindowLayout* const kAllWindows[] = {&form1Layout(), &form2Layout(), &form3Layout(),
                                           &form4Layout()};

const ControlLayout* find(const WindowLayout& window, std::string_view name) {
    const auto found = std::ranges::find(window.controls, name, &ControlLayout::name);
    return found == window.controls.end() ? nullptr : &*found;
}

struct Area {
    int width, height;
};

Area areaOf(const WindowLayout& window, std::string_view container) {
    if (container == window.name)
        return {window.width, window.height};
    const ControlLayout* frame = find(window, container);
    return {frame->width, frame->height};
}

TEST(LayoutData, NamesAndTabPlacesAreUniqueInEachWindow) {
    for (const WindowLayout* window : kAllWindows) {
        SCOPED_TRACE(std::string(window->name));
        std::set<std::string_view> names{window->name};
        std::set<int> tabs;
        for (const ControlLayout& control : window->controls) {
            EXPECT_TRUE(names.insert(control.name).second) << control.name;
            if (control.tabIndex >= 0) {
                EXPECT_TRUE(tabs.insert(control.tabIndex).second) << control.name;
            }
        }
    }
}

TEST(LayoutData, EveryControlStandsInTheWindowOrInAFrameListedBeforeIt) {
    for (const WindowLayout* window : kAllWindows) {
        std::set<std::string_view> containers{window->name};
        for (const ControlLayout& control : window->controls) {
            SCOPED_TRACE(std::string(window->name) + "." + std::string(control.name));
            EXPECT_TRUE(containers.contains(control.container));
            if (control.kind == ControlKind::Frame)
                containers.insert(control.name);
        }
    }
}

// The one exception is Form4's Label1, which reaches past Frame1 and is never shown.
TEST(LayoutData, EveryShownControlFitsInsideItsContainer) {
    for (const WindowLayout* window : kAllWindows) {
        for (const ControlLayout& control : window->controls) {
            if (!control.visible || control.kind == ControlKind::Timer)
                continue;
            SCOPED_TRACE(std::string(window->name) + "." + std::string(control.name));
            const Area area = areaOf(*window, control.container);
            EXPECT_GT(control.width, 0);
            EXPECT_GT(control.height, 0);
            EXPECT_LE(control.left + control.width, area.width);
            EXPECT_LE(control.top + control.height, area.height);
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
            EXPECT_TRUE(normal->visible);
            EXPECT_FALSE(hover->visible);
            EXPECT_TRUE(normal->toolTip.empty());
            EXPECT_FALSE(hover->toolTip.empty());
            EXPECT_LT(hover - window->controls.data(), normal - window->controls.data())
                << "the hover face is listed first, above its normal face";
        }
    }
}

// 15 twips a pixel: a picture control is exactly as large as its bitmap in whole pixels.
TEST(LayoutData, PictureSizesAreWholePixels) {
    for (const WindowLayout* window : kAllWindows) {
        for (const ControlLayout& control : window->controls) {
            if (control.kind != ControlKind::Picture)
                continue;
            EXPECT_EQ(control.width % kTwipsPerPixel, 0) << control.name;
            EXPECT_EQ(control.height % kTwipsPerPixel, 0) << control.name;
            EXPECT_TRUE(control.caption.ends_with(".bmp")) << control.name;
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
