// The whole road on the real Qt toolkit, offscreen, with scripted dialogs: catches what the
// recording toolkit cannot, such as a control name Qt does not know or a window discarded while Qt
// still delivers its event. What the run does to the files is the engine tests' concern.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest/QTest>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/UserPlaces.h"
#include "platform/host/posix/PosixFileHost.h"
#include "platform/host/posix/PosixStateStore.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "platform/ui/DialogScript.h"
#include "platform/ui/qt/QtToolkit.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempTree.h"
#include "tests/windows/RoadExpectations.h"
#include "windows/Program.h"

namespace morvane::ui::test {
namespace {

QWidget* shownWindow(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

template <class Widget = QWidget>
Widget& control(const char* window, const char* name) {
    QWidget* top = shownWindow(window);
    if (top == nullptr)
        throw std::logic_error(std::string(window) + " is not shown");
    auto* found = top->findChild<Widget*>(name);
    if (found == nullptr)
        throw std::logic_error(std::string(window) + " has no " + name);
    return *found;
}

// Lets the event loop run until `done` holds; a guard of a few seconds, not a wait.
bool settle(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A second apart, so that no two presses make a double click.
void mouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
    static quint64 time = 0;
    const QPointF centre(widget.width() / 2.0, widget.height() / 2.0);
    QMouseEvent event(type, centre, widget.mapToGlobal(centre), button, held, Qt::NoModifier);
    event.setTimestamp(time += 1000);
    QApplication::sendEvent(&widget, &event);
}

// Moves the pointer onto the normal face and clicks the hover face that replaces it.
void press(const char* window, const char* normalFace, const char* hoverFace) {
    mouse(control(window, normalFace), QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    QWidget& hover = control(window, hoverFace);
    ASSERT_TRUE(hover.isVisible()) << window << '.' << hoverFace;
    mouse(hover, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    mouse(hover, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}

// The real host, which waits for another run on the folder no longer than a moment; the wait it
// was asked for is noted.
class ImpatientHost : public PosixFileHost {
  public:
    RunStart beginChanges(const std::string& game,
                          std::optional<std::chrono::milliseconds> wait) override {
        asked.push_back(wait);
        return PosixFileHost::beginChanges(game, std::chrono::milliseconds(0));
    }
    std::vector<std::optional<std::chrono::milliseconds>> asked;
};

// The places of this user as the program finds them, with the state folder, where the backups go,
// one of the test's own that the driver is then given too.
UserPlaces withStateIn(const std::string& folder) {
    ::setenv("XDG_STATE_HOME", folder.c_str(), 1);
    return userPlaces();
}

bool ticked(const char* box) {
    return control<QAbstractButton>("Form4", box).isChecked();
}

// The program on the Qt toolkit with every dialog scripted.
class QtRoadTest : public ::testing::Test {
  protected:
    QtRoadTest() { toolkit.useScript(&script); }
    // A window discarded late in a test is deleted by a posted task that must not outlive the
    // program.
    void TearDown() override { QCoreApplication::sendPostedEvents(); }

    // Starts the program and lets the start window tick, without sitting out its 3000 ms.
    void openGameChoice() {
        program.start();
        control<QTimer>("Form1", "Timer1").start(0);
        ASSERT_TRUE(settle([] { return shownWindow("Form2") && !shownWindow("Form1"); }));
    }

    // Goes the road to the options window on `game` and ticks `options`.
    void openOptionsWindow(const std::string& game, std::initializer_list<const char*> options) {
        script.folders.push_back(game);
        ASSERT_NO_FATAL_FAILURE(openGameChoice());
        press("Form2", "Image1", "Image2");
        ASSERT_TRUE(settle([] { return shownWindow("Form3") && !shownWindow("Form2"); }));
        control<QAbstractButton>("Form3", "Command1").click();
        press("Form3", "Image1", "Image2");
        ASSERT_TRUE(settle([] { return shownWindow("Form4") && !shownWindow("Form3"); }));
        for (const char* option : options)
            control<QAbstractButton>("Form4", option).click();
    }
    // The same, then a search.
    void searchOptionsWindow(const std::string& game, std::initializer_list<const char*> options) {
        ASSERT_NO_FATAL_FAILURE(openOptionsWindow(game, options));
        press("Form4", "Image1", "Image2");
    }

    DialogScript script;
    QtToolkit toolkit;
    ImpatientHost host;
    PosixTreeReader reader;
    PosixStateStore store;
    morvane::test::TempTree state;
    Program program{toolkit, {host, reader, store, withStateIn(state.path())}};
};

TEST_F(QtRoadTest, FromStartWindowToVerdict) {
    morvane::test::TempTree game;
    game.write("hl.exe", "launcher");
    game.write("cstrike/resource/GameMenu.res", "\"GameMenu\" { \"ad\" }");
    game.write("cstrike_russian/config.cfg", "bind \"F1\" \"say visit our server\"");
    script.folders.push_back(game.path());

    ASSERT_NO_FATAL_FAILURE(openGameChoice());
    press("Form2", "Image1", "Image2");
    ASSERT_TRUE(settle([] { return shownWindow("Form3") && !shownWindow("Form2"); }));
    control<QAbstractButton>("Form3", "Command1").click();
    EXPECT_EQ(script.browseStarts, std::vector<std::string>{"c:\\"});
    // A second try on a folder without the launcher, given up with Cancel, leaves the first.
    morvane::test::TempTree elsewhere;
    script.folders.push_back(elsewhere.path());
    control<QAbstractButton>("Form3", "Command1").click();
    EXPECT_EQ(control<QLineEdit>("Form3", "Text1").text().toStdString(), game.path());
    press("Form3", "Image1", "Image2");
    ASSERT_TRUE(settle([] { return shownWindow("Form4") && !shownWindow("Form3"); }));

    control<QAbstractButton>("Form4", "Check1").click();
    control<QAbstractButton>("Form4", "Check9").click();
    press("Form4", "Image1", "Image2");
    EXPECT_TRUE(control<QAbstractButton>("Form4", "Check4").isChecked());
    EXPECT_TRUE(control<QAbstractButton>("Form4", "Check8").isChecked());
    EXPECT_FALSE(control<QAbstractButton>("Form4", "Check5").isChecked());
    press("Form4", "Image3", "Image4");

    EXPECT_EQ(control<QLabel>("Form4", "Label2").text().toStdString(), "Реклама возможно удалена");
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[0].text, "Файл 'hl.exe' не найден выберите папку с CS или CSS");
    EXPECT_EQ(script.messages[1].text, "Выбрав данную функцию ваш конфиг станет стандартным");
    EXPECT_EQ(script.quitRequests, 0);

    shownWindow("Form4")->close();
    EXPECT_EQ(script.quitRequests, 1);
}

// After the verdict the files that could not be treated are named; a folder another run holds is
// given up after the driver's wait, and nothing changes.
TEST_F(QtRoadTest, NamesWhatItCouldNotTreatAndGivesUpAFolderHeldElsewhere) {
    morvane::test::TempTree game;
    game.write("hl.exe", "launcher");
    game.write("cstrike_russian/resource/GameMenu.res", "\"GameMenu\" { \"ad\" }");
    game.makeDir("cstrike/resource/GameMenu.res");  // a folder: no copy can replace it
    ASSERT_NO_FATAL_FAILURE(searchOptionsWindow(game.path(), {"Check1"}));
    press("Form4", "Image3", "Image4");
    EXPECT_EQ(control<QLabel>("Form4", "Label2").text().toStdString(), "Реклама возможно удалена");
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "Внимание!");
    EXPECT_EQ(script.messages[0].text,
              "Не удалось обработать файлы:\ncstrike/resource/GameMenu.res (атрибуты: это папка)");

    PosixFileHost other;
    ASSERT_EQ(other.beginChanges(game.path(), std::chrono::milliseconds(0)), RunStart::Begun);
    const std::string replaced = game.read("cstrike_russian/resource/GameMenu.res");
    game.write("cstrike_russian/resource/GameMenu.res", "\"GameMenu\" { \"ad again\" }");
    press("Form4", "Image3", "Image4");
    EXPECT_EQ(host.asked.back(), std::chrono::milliseconds(10000));
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_EQ(script.messages[1].text,
              "Папка игры занята другой программой. Закройте её и попробуйте снова.");
    EXPECT_EQ(game.read("cstrike_russian/resource/GameMenu.res"), "\"GameMenu\" { \"ad again\" }");
    EXPECT_EQ(control<QLabel>("Form4", "Label2").text().toStdString(), "Неизвестно");
    other.endChanges();
}

// Regression: "Удалить" without "Найти" treated nothing, "Найти" after a run found its clean files,
// and nothing brought back what the window deleted. It treats what is ticked, searching first,
// and the driver's undo gives it back; a kind unticked after "Найти" is left.
TEST_F(QtRoadTest, RemovalTreatsWhatIsTickedAndTheDriversUndoGivesItBack) {
    morvane::test::TempTree game;
    game.write("hl.exe", "launcher");
    const std::string menu = "\"GameMenu\" { \"ad\" }";
    const std::string config = "bind \"F1\" \"say hi\"\r\nname \"Игрок\"\n";
    game.write("cstrike/resource/GameMenu.res", menu);
    game.write("cstrike/config.cfg", config);
    ASSERT_NO_FATAL_FAILURE(openOptionsWindow(game.path(), {"Check1", "Check9"}));
    press("Form4", "Image3", "Image4");
    EXPECT_TRUE(ticked("Check4") && ticked("Check8")) << "searched first";
    EXPECT_FALSE(game.exists("cstrike/config.cfg"));
    EXPECT_EQ(game.read("cstrike/resource/GameMenu.res"),
              morvane::test::contentOf(*host.programFolder() + "/files/GameMenu.res"));
    EXPECT_EQ(control<QLabel>("Form4", "Label2").text().toStdString(), "Реклама возможно удалена");
    press("Form4", "Image1", "Image2");
    EXPECT_FALSE(ticked("Check4") || ticked("Check8")) << "nothing left to find";

    morvane::test::RunSettings driver;
    driver.set["XDG_STATE_HOME"] = state.path();
    const auto undone = morvane::test::runProgram(MORVANE_CLI, {"undo", game.path()}, driver);
    EXPECT_EQ(undone.exit, 0) << undone.err;
    EXPECT_EQ(game.read("cstrike/config.cfg"), config);
    EXPECT_EQ(game.read("cstrike/resource/GameMenu.res"), menu);

    press("Form4", "Image1", "Image2");
    EXPECT_TRUE(ticked("Check4") && ticked("Check8"));
    control<QAbstractButton>("Form4", "Check9").click();
    press("Form4", "Image3", "Image4");
    EXPECT_EQ(game.read("cstrike/config.cfg"), config);
    EXPECT_NE(game.read("cstrike/resource/GameMenu.res"), menu);
}

// Regression: the window kept no backup. One that cannot be made stops the run before any change,
// saying why.
TEST_F(QtRoadTest, ABackupThatCannotBeMadeStopsTheRunWithItsReason) {
    morvane::test::TempTree game;
    game.write("hl.exe", "launcher");
    game.write("cstrike/config.cfg", "bind \"F1\" \"say hi\"");
    state.write("morvane", "a file where the state folder should be");
    ASSERT_NO_FATAL_FAILURE(openOptionsWindow(game.path(), {"Check9"}));
    press("Form4", "Image3", "Image4");
    expectBackupNotMade(script, state.path("morvane"));
    EXPECT_EQ(game.read("cstrike/config.cfg"), "bind \"F1\" \"say hi\"");
    EXPECT_EQ(control<QLabel>("Form4", "Label2").text().toStdString(), "Неизвестно");
}

// Regression: Qt's completer matched typed text to a list entry in another case, on Return or on
// leaving the box, so that Next went on where the exact comparison must do nothing.
TEST_F(QtRoadTest, TypedTextIsComparedAsTyped) {
    ASSERT_NO_FATAL_FAILURE(openGameChoice());
    QWidget* form2 = shownWindow("Form2");
    QApplication::setActiveWindow(form2);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2));

    for (const char* typed : {"counter strike 1.6", "COUNTER STRIKE SOURCE", "Counter"}) {
        SCOPED_TRACE(typed);
        QLineEdit* edit = control<QComboBox>("Form2", "Combo1").lineEdit();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        edit->clearFocus();  // leaving the box
        EXPECT_EQ(control<QComboBox>("Form2", "Combo1").currentText().toStdString(), typed);
        press("Form2", "Image1", "Image2");
        QCoreApplication::processEvents();
        EXPECT_EQ(shownWindow("Form3"), nullptr);
        EXPECT_TRUE(script.messages.empty());
    }
}

}  // namespace
}  // namespace morvane::ui::test

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
