// The contract every toolkit layer keeps: the windows as their layouts give them, the events they
// raise and the desktop services, checked through each toolkit's driver (ToolkitContract.h).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

#include "platform/ui/ControlRules.h"
#include "platform/ui/DoubleClicks.h"
#include "tests/platform/ui/ToolkitContract.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/WindowScenes.h"
#include "windows/layouts/Layouts.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const WindowLayout* const kAllWindows[] = {&form1Layout(), &form2Layout(), &form3Layout(),
                                           &form4Layout()};

int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

Rect pixelRect(int left, int top, int width, int height) {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

const ControlLayout& controlOf(const WindowLayout& window, std::string_view name) {
    return *std::ranges::find(window.controls, name, &ControlLayout::name);
}

// Where a control stands in its window: its containers' places added to its own.
Rect layoutRect(const WindowLayout& window, const ControlLayout& control) {
    int left = control.left, top = control.top;
    for (std::string_view container = control.container; container != window.name;) {
        const ControlLayout& frame = controlOf(window, container);
        left += frame.left;
        top += frame.top;
        container = frame.container;
    }
    return pixelRect(left, top, control.width, control.height);
}

bool contains(const Rect& area, Point point) {
    return point.x >= area.left && point.x < area.left + area.width && point.y >= area.top &&
           point.y < area.top + area.height;
}

class ToolkitContract : public ::testing::Test {
  protected:
    void SetUp() override { driver->parkPointer(); }
    void TearDown() override {
        driver->settle();
        EXPECT_THAT(driver->shownWindows(), IsEmpty()) << "left open";
    }

    std::unique_ptr<Window> open(const WindowLayout& layout) { return driver->open(layout, sink); }

    std::unique_ptr<ToolkitDriver> driver = makeToolkitDriver();
    Toolkit& toolkit = driver->toolkit();
    RecordingSink sink;
};

// The windows.

TEST_F(ToolkitContract, EveryWindowAndControlStandsWhereItsLayoutPutsIt) {
    for (const WindowLayout* layout : kAllWindows) {
        SCOPED_TRACE(std::string(layout->name));
        auto window = toolkit.createWindow(*layout, sink);
        const WindowFacts facts = driver->windowFacts(*window);
        EXPECT_EQ(facts.client,
                  pixelRect(layout->left, layout->top, layout->width, layout->height));
        EXPECT_EQ(facts.caption, layout->caption);
        EXPECT_EQ(facts.titleBar, layout->bordered);
        EXPECT_EQ(facts.closeBox, layout->bordered);
        EXPECT_FALSE(facts.minimiseBox || facts.maximiseBox || facts.resizable);
        EXPECT_TRUE(facts.hasIcon) << "the icon is among the pictures";
        for (const ControlLayout& control : layout->controls) {
            if (control.kind == ControlKind::Timer)
                continue;
            SCOPED_TRACE(std::string(control.name));
            const ControlFacts shown = driver->controlFacts(*window, control.name);
            EXPECT_EQ(shown.place, layoutRect(*layout, control));
            EXPECT_EQ(window->isVisible(control.name), control.visible);
            EXPECT_EQ(shown.enabled, control.enabled);
            EXPECT_EQ(shown.takesFocus, takesFocus(control));
            EXPECT_EQ(shown.toolTip, control.toolTip);
            if (control.kind != ControlKind::Picture) {
                EXPECT_EQ(window->text(control.name), control.caption);
                continue;
            }
            // A picture shows its bitmap whole, at its natural size.
            EXPECT_EQ(shown.bitmap, pixelRect(0, 0, control.width, control.height));
            EXPECT_TRUE(shown.bitmapIsResource) << "missing from the pictures, or drawn otherwise";
        }
    }
}

// Pictures lie beneath the other controls; among the faces, the one shown is on top.
TEST_F(ToolkitContract, TheVisibleFaceAndTheBannerCaptionAreOnTop) {
    auto onTop = [this](Window& window, std::string_view name) {
        return driver->controlAt(window, driver->centreOf(window, name)) == name;
    };
    for (const WindowLayout* layout : {&form2Layout(), &form3Layout(), &form4Layout()}) {
        SCOPED_TRACE(std::string(layout->name));
        auto window = open(*layout);
        EXPECT_TRUE(onTop(*window, "Image1"));
        window->setVisible("Image2", true);
        EXPECT_TRUE(onTop(*window, "Image2"));
        window->close();
    }
    auto form1 = open(form1Layout());
    ASSERT_TRUE(
        contains(driver->controlFacts(*form1, "Image1").place, driver->centreOf(*form1, "Label2")));
    EXPECT_TRUE(onTop(*form1, "Label2"));
    form1->close();
}

// Where the focus goes: the same rounds for every toolkit.
TEST_F(ToolkitContract, TheKeyboardVisitsTheOptionsInTabOrderAndNothingElse) {
    for (const morvane::test::TabRound& round : morvane::test::tabRounds()) {
        auto window = open(*round.layout);
        std::vector<std::string> order{driver->focusName(*window)};
        while (order.size() < round.focus.size()) {
            driver->pressTab(*window);
            order.push_back(driver->focusName(*window));
        }
        EXPECT_THAT(order, ElementsAreArray(round.focus));
        window->close();
    }
}

// Regression (Qt): typed text was completed to a list entry, and could become one.
TEST_F(ToolkitContract, TheDropDownBoxTakesTypedTextWithoutAddingItToTheList) {
    auto window = open(form2Layout());
    const auto entries = static_cast<int>(controlOf(form2Layout(), "Combo1").items.size());
    ASSERT_EQ(driver->listEntries(*window, "Combo1"), entries);
    driver->typeOver(*window, "Combo1", "counter strike 1.6 ");
    EXPECT_EQ(window->text("Combo1"), "counter strike 1.6 ");
    EXPECT_EQ(driver->listEntries(*window, "Combo1"), entries);
    window->close();
}

// The events.

TEST_F(ToolkitContract, APointerMoveBelongsToTheControlOrBareSurfaceUnderItAlone) {
    for (const WindowLayout* layout : {&form4Layout(), &form2Layout()}) {
        auto window = open(*layout);
        for (const char* control : {"Check1", "Check4", "Check7", "Label2", "Image1", "Frame1",
                                    "Frame2", "Form4", "Combo1", "Form2"}) {
            if (control != layout->name && !driver->has(*window, control))
                continue;
            SCOPED_TRACE(control);
            const bool bare =
                control == layout->name || std::string_view(control).starts_with("Frame");
            const Point point =
                bare ? driver->barePointOf(*window, control) : driver->centreOf(*window, control);
            sink.events.clear();
            driver->movePointer(*window, point);
            EXPECT_TRUE(driver->settleUntil([this] { return !sink.events.empty(); }));
            driver->settle();
            EXPECT_THAT(sink.events, ElementsAre(Raised{control, Event::MouseMove}));
        }
        window->close();
    }
}

TEST_F(ToolkitContract, AMoveWithAButtonHeldIsNoPointerMove) {
    auto window = open(form4Layout());
    driver->drag(*window, "Check1");
    EXPECT_THAT(sink.controlsWith(Event::MouseMove), IsEmpty());
    EXPECT_THAT(sink.controlsWith(Event::Click), ElementsAre("Check1"));
    window->close();
}

// A click is a press and a release on the same control; a press let go elsewhere is none.
TEST_F(ToolkitContract, ClicksOnPicturesLabelsAndTheButton) {
    const std::pair<const WindowLayout*, const char*> clicks[] = {
        {&form4Layout(), "Image2"}, {&form1Layout(), "Label3"}, {&form3Layout(), "Command1"}};
    for (const auto& [layout, control] : clicks) {
        auto window = open(*layout);
        window->setVisible(control, true);
        driver->click(*window, control);
        driver->clickReleasedElsewhere(*window, control);
        window->close();
    }
    EXPECT_THAT(sink.controlsWith(Event::Click), ElementsAre("Image2", "Label3", "Command1"));
}

TEST_F(ToolkitContract, ACheckBoxRaisesClickWheneverItsValueChanges) {
    auto window = open(form4Layout());
    driver->click(*window, "Check1");       // 0 -> 1
    driver->pressSpace(*window, "Check1");  // 1 -> 0
    window->setValue("Check4", 1);          // by the program
    window->setValue("Check4", 1);          // no change: no Click
    window->setValue("Check4", 2);
    window->setValue("Check7", 2);
    driver->click(*window, "Check7");  // a grayed box goes to unticked,
    driver->click(*window, "Check7");  // and is a two-state box again
    EXPECT_THAT(sink.controlsWith(Event::Click),
                ElementsAre("Check1", "Check1", "Check4", "Check4", "Check7", "Check7", "Check7"));
    EXPECT_EQ(window->value("Check1"), 0);
    EXPECT_EQ(window->value("Check4"), 2);
    EXPECT_EQ(window->value("Check7"), 1);
    window->close();
}

// The rule both layers apply, on a double-click time of 500 ms and a distance of 2 pixels. A
// dropped press takes its release with it.
TEST(DoubleClicks, ASecondPressNearInTimeAndPlaceIsDroppedOnAControlThatRaisesClick) {
    struct Press {
        std::uint32_t time;
        int x, y;
        bool clickable, dropped;
    };
    const Press presses[] = {
        {1000, 10, 10, true, false},      {1200, 10, 10, true, true},
        {1300, 10, 10, true, false},  // a third press begins anew
        {1799, 12, 8, true, true},        {1900, 10, 10, true, false},
        {2400, 10, 10, true, false},  // the whole interval later
        {2500, 13, 10, true, false},  // further away than the distance
        {2600, 13, 10, false, false},     {2700, 13, 10, true, false},
        {0xFFFFFF00u, 0, 0, true, false}, {0x50, 0, 0, true, true},  // across the clock's wrap
    };
    DoubleClicks doubleClicks(500, 2, 2);
    for (const Press& press : presses) {
        SCOPED_TRACE(press.time);
        EXPECT_EQ(doubleClicks.dropPress(press.time, press.x, press.y, press.clickable),
                  press.dropped);
        EXPECT_EQ(doubleClicks.dropRelease(), press.dropped);
        EXPECT_FALSE(doubleClicks.dropRelease());
    }
}

// As the windows' own toolkit did: a double click raises Click once, and the second press reaches
// no control, neither the one clicked nor one of a window that the first click opened under it.
TEST_F(ToolkitContract, TheSecondPressOfADoubleClickIsNoClick) {
    const int interval = driver->doubleClickInterval();
    auto form4 = open(form4Layout());
    form4->setVisible("Image2", true);
    driver->clickTwice(*form4, driver->centreOf(*form4, "Check1"), interval / 4);
    EXPECT_EQ(form4->value("Check1"), 1);
    driver->clickTwice(*form4, driver->centreOf(*form4, "Check1"), interval * 2);  // two clicks
    EXPECT_EQ(form4->value("Check1"), 1);
    driver->clickTwice(*form4, driver->centreOf(*form4, "Image2"), interval / 4);
    form4->close();
    EXPECT_THAT(sink.controlsWith(Event::Click),
                ElementsAre("Check1", "Check1", "Check1", "Image2"));

    // Next on the folder choice opens the options window under the pointer.
    sink.events.clear();
    auto form3 = open(form3Layout());
    auto options = toolkit.createWindow(form4Layout(), sink);
    form3->setVisible("Image2", true);
    const Point next = driver->centreOf(*form3, "Image2");
    const Rect from = driver->windowFacts(*form3).client, to = driver->windowFacts(*options).client;
    const Point there{next.x + from.left - to.left, next.y + from.top - to.top};
    ASSERT_EQ(driver->controlAt(*options, there), "Check3");
    sink.onEvent = [&] {
        if (sink.events.back() == Raised{"Image2", Event::Click}) {
            options->show();
            form3->close();
        }
    };
    driver->clickTwice(*form3, next, interval / 4);
    EXPECT_EQ(options->value("Check3"), 0);
    EXPECT_THAT(sink.controlsWith(Event::Click), ElementsAre("Image2"));
    options->close();
}

TEST_F(ToolkitContract, OnlyAUserCloseRaisesUnload) {
    auto form4 = open(form4Layout());
    form4->close();
    EXPECT_FALSE(driver->shown(*form4));
    auto form2 = open(form2Layout());
    driver->closeAsUser(*form2);
    EXPECT_FALSE(driver->shown(*form2));
    auto form3 = open(form3Layout());
    form3.reset();  // discarded without closing
    driver->settle();
    EXPECT_THAT(sink.events, ElementsAre(Raised{"Form2", Event::Unload}));
}

TEST_F(ToolkitContract, AWindowDiscardedFromItsOwnEventsIsDestroyedAfterThem) {
    std::unique_ptr<Window> window = open(form2Layout());
    std::function<bool()> exists = driver->existence(*window);
    sink.onEvent = [&window] { window.reset(); };
    window->setVisible("Image2", true);
    driver->click(*window, "Image2");
    EXPECT_EQ(window, nullptr);
    EXPECT_TRUE(exists()) << "still inside its own event";
    driver->settle();
    EXPECT_FALSE(exists());

    window = open(form3Layout());
    exists = driver->existence(*window);
    driver->closeAsUser(*window);
    EXPECT_EQ(window, nullptr);
    driver->settle();
    EXPECT_FALSE(exists());
    EXPECT_THAT(sink.controlsWith(Event::Unload), ElementsAre("Form3"));
}

TEST_F(ToolkitContract, StartWindowTimerRunsFromCreationUntilClosed) {
    auto window = toolkit.createWindow(form1Layout(), sink);
    EXPECT_TRUE(driver->timerRuns(*window, "Timer1"));
    if (const auto interval = driver->timerInterval(*window, "Timer1")) {
        EXPECT_EQ(*interval, controlOf(form1Layout(), "Timer1").interval);
    }
    // No waiting on real time: the tick arrives the way the loop delivers it.
    driver->tick(*window, "Timer1");
    EXPECT_THAT(sink.events, ElementsAre(Raised{"Timer1", Event::Timer}));
    window->close();
    EXPECT_FALSE(driver->timerRuns(*window, "Timer1")) << "a closed window's timer must stop";
}

// The desktop services.

TEST_F(ToolkitContract, MessageBoxesCarryTheirIconPlainTextAndTitleWithOneButton) {
    struct Case {
        std::string text, title;
        MessageIcon icon;
        std::string shownTitle;
    };
    const Case cases[] = {
        {"Данная функция в разработке!", "", MessageIcon::Information, "Morvane"},
        {"<b>not markup</b>", "Внимание!!!", MessageIcon::Exclamation, "Внимание!!!"},
        {"Файл 'hl.exe' & <не разметка>", "Внимание!", MessageIcon::Exclamation, "Внимание!"},
    };
    auto form = open(form4Layout());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ShownBox box =
            driver->answerMessageBox([&] { toolkit.messageBox(*form, c.text, c.title, c.icon); });
        EXPECT_EQ(box.title, c.shownTitle);
        EXPECT_EQ(box.text, c.text);
        EXPECT_TRUE(box.plainText);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.buttons, 1);
        EXPECT_EQ(box.owner, form4Layout().caption);
    }
    form->close();
}

// Regression: the boxes opened in the middle of the screen, away from the window they speak of.
TEST_F(ToolkitContract, AMessageBoxStandsOverItsWindow) {
    auto form = open(form4Layout());
    const Rect window = driver->windowFacts(*form).client;
    const ShownBox box = driver->answerMessageBox(
        [&] { toolkit.messageBox(*form, "Внимание", "Внимание!", MessageIcon::Exclamation); });
    // Centred over it, give or take its title bar.
    EXPECT_NEAR(box.place.left + box.place.width / 2, window.left + window.width / 2, 40);
    EXPECT_NEAR(box.place.top + box.place.height / 2, window.top + window.height / 2, 40);
    form->close();
}

// While a work runs off the loop's thread, the windows keep painting, show a busy pointer and take
// no input; afterwards they take it again.
TEST_F(ToolkitContract, WhileAWorkRunsTheWindowsPaintButTakeNoInput) {
    auto window = open(form4Layout());
    const std::function<int()> paints = driver->countPaints(*window);
    std::atomic<int> paintsBefore = -1;
    bool busyPointer = false;
    toolkit.post([&] {  // on the loop's thread, while the work runs
        busyPointer = driver->busyPointer(*window);
        driver->click(*window, "Check1");
        driver->pressSpace(*window, "Check2");
        driver->closeAsUser(*window);
        paintsBefore = paints();
        driver->requestPaint(*window);
    });
    std::thread::id worker;
    bool painted = false;
    toolkit.runBusy([&] {
        worker = std::this_thread::get_id();
        // Until the window has painted again; a guard of a few seconds, not a wait.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!(painted = paintsBefore >= 0 && paints() > paintsBefore) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    });
    EXPECT_NE(worker, std::this_thread::get_id());
    EXPECT_TRUE(painted);
    EXPECT_TRUE(busyPointer);
    EXPECT_THAT(sink.events, IsEmpty());
    EXPECT_TRUE(driver->shown(*window));

    EXPECT_FALSE(driver->busyPointer(*window));
    driver->click(*window, "Check1");
    EXPECT_THAT(sink.controlsWith(Event::Click), ElementsAre("Check1"));
    EXPECT_THROW(toolkit.runBusy([] { throw std::runtime_error("failed"); }), std::runtime_error);
    window->close();
}

TEST_F(ToolkitContract, PostedTasksRunOnceTheCurrentEventIsDone) {
    std::vector<int> order;
    toolkit.post([&order] { order.push_back(2); });
    order.push_back(1);
    driver->settle();
    EXPECT_THAT(order, ElementsAre(1, 2));
}

TEST_F(ToolkitContract, QuitClosesEveryWindowWithoutUnloadAndLeavesTheLoop) {
    auto form3 = open(form3Layout());
    auto form4 = toolkit.createWindow(form4Layout(), sink);  // hidden, as the browse loop makes it
    toolkit.post([this] { toolkit.quit(); });
    EXPECT_EQ(driver->runLoop(), 0) << "quit did not leave the loop";
    EXPECT_FALSE(driver->shown(*form3));
    EXPECT_FALSE(driver->shown(*form4));
    EXPECT_THAT(sink.events, IsEmpty());
}

TEST_F(ToolkitContract, WindowTextsColoursAndUnderline) {
    auto window = toolkit.createWindow(form4Layout(), sink);
    const std::string folder = "C:\\Игры\\<b>Counter Strike</b> & co";
    window->setText("Label1", folder);
    EXPECT_EQ(window->text("Label1"), folder);
    window->setTextColor("Label2", {255, 0, 0});
    EXPECT_EQ(driver->textColour(*window, "Label2"), (Rgb{255, 0, 0}));
    window->setUnderline("Label2", true);
    EXPECT_TRUE(driver->underlined(*window, "Label2"));
    window->setUnderline("Label2", false);
    EXPECT_FALSE(driver->underlined(*window, "Label2"));
    EXPECT_THROW(window->setValue("Check1", 3), std::invalid_argument);
    EXPECT_THROW(window->value("Label2"), std::invalid_argument);
    EXPECT_THROW(window->text("Image1"), std::invalid_argument);
    EXPECT_THROW(window->setVisible("Image9", true), std::invalid_argument);
}

TEST_F(ToolkitContract, AScriptAnswersInsteadOfTheDialogs) {
    DialogScript script;
    script.folders.push_back("C:\\Games\\Counter-Strike");
    driver->useScript(&script);
    auto form = open(form3Layout());
    toolkit.messageBox(*form, "Внимание", "", MessageIcon::Exclamation);
    EXPECT_EQ(toolkit.browseFolder(*form, "title", "c:\\"), "C:\\Games\\Counter-Strike");
    EXPECT_EQ(toolkit.browseFolder(*form, "title", ""), "") << "none left: cancel";
    toolkit.openUrl("https://www.example.org/");
    toolkit.quit();
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_THAT(script.browseStarts, ElementsAre("c:\\", ""));
    EXPECT_THAT(script.openedUrls, ElementsAre("https://www.example.org/"));
    EXPECT_EQ(script.quitRequests, 1);
    EXPECT_TRUE(driver->shown(*form)) << "a scripted quit closes nothing";
    EXPECT_TRUE(driver->loopGoesOn()) << "a scripted quit leaves the loop running";
    driver->useScript(nullptr);
    form->close();
}

}  // namespace
}  // namespace morvane::ui::test
