// The desktop services of the Qt toolkit: message boxes, paths, posting, quit. The scripted answers
// that stand in for dialogs are exercised by the road test.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "tests/platform/ui/qt/QtTestSupport.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAre;

using QtToolkitServices = QtTest;

TEST_F(QtToolkitServices, MessageBoxesCarryTheirIconPlainTextAndTitleWithOneButton) {
    struct Case {
        std::string text, title;
        MessageIcon icon;
        QString shownTitle;
        QMessageBox::Icon shownIcon;
    };
    const Case cases[] = {
        {"Данная функция в разработке!", "", MessageIcon::Information, "Morvane",
         QMessageBox::Information},
        {"<b>not markup</b>", "Внимание!!!", MessageIcon::Exclamation, "Внимание!!!",
         QMessageBox::Warning},
    };
    for (const Case& c : cases) {
        withModal(
            [&c](QWidget& modal) {
                auto* box = qobject_cast<QMessageBox*>(&modal);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->windowTitle(), c.shownTitle);
                EXPECT_EQ(box->text(), qs(c.text));
                EXPECT_EQ(box->textFormat(), Qt::PlainText);
                EXPECT_EQ(box->icon(), c.shownIcon);
                EXPECT_EQ(box->buttons().size(), 1);
                box->button(QMessageBox::Ok)->click();
            },
            [&] {
                toolkit.messageBox(c.text, c.title, c.icon);
                return 0;
            });
    }
}

TEST_F(QtToolkitServices, PathExistsForFilesAndFolders) {
    QTemporaryDir games;
    ASSERT_TRUE(QDir(games.path()).mkpath(QStringLiteral("folder/hl.exe")));
    QFile file(games.filePath(QStringLiteral("hl.exe")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string root = games.path().toStdString();
    EXPECT_TRUE(toolkit.pathExists(root + "/hl.exe"));
    EXPECT_TRUE(toolkit.pathExists(root + "/folder/hl.exe"));
    EXPECT_TRUE(toolkit.pathExists(root + "//hl.exe")) << "a root folder's doubled separator";
    EXPECT_FALSE(toolkit.pathExists(root + "/HL.EXE"));
    EXPECT_FALSE(toolkit.pathExists(""));
}

TEST_F(QtToolkitServices, PostedTasksRunOnceTheCurrentEventIsDone) {
    std::vector<int> order;
    toolkit.post([&order] { order.push_back(2); });
    order.push_back(1);
    QCoreApplication::processEvents();
    EXPECT_THAT(order, ElementsAre(1, 2));
}

TEST_F(QtToolkitServices, QuitClosesEveryWindowWithoutUnloadAndLeavesTheLoop) {
    auto form3 = toolkit.createWindow(form3Layout(), sink);
    auto form4 = toolkit.createWindow(form4Layout(), sink);  // hidden, as the browse loop makes it
    form3->show();
    // Quit must leave the loop by itself, not because its last window happened to close.
    QApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, [this] { toolkit.quit(); });
    QTimer guard;  // destroyed with the test, so it cannot end a later test's loop
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(2000);
    EXPECT_EQ(QApplication::exec(), 0) << "quit did not leave the event loop";
    QApplication::setQuitOnLastWindowClosed(true);
    EXPECT_FALSE(widgetOf(*form3).isVisible());
    EXPECT_FALSE(widgetOf(*form4).isVisible());
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(QtToolkitServices, WindowTextsColoursAndUnderline) {
    auto window = toolkit.createWindow(form4Layout(), sink);
    const std::string folder = "/home/игрок/<b>Counter Strike</b> & co";
    window->setText("Label1", folder);
    EXPECT_EQ(window->text("Label1"), folder);
    window->setTextColor("Label2", {255, 0, 0});
    EXPECT_EQ(child(*window, "Label2").palette().color(QPalette::WindowText), QColor(255, 0, 0));
    window->setUnderline("Label2", true);
    EXPECT_TRUE(child(*window, "Label2").font().underline());
    window->setUnderline("Label2", false);
    EXPECT_FALSE(child(*window, "Label2").font().underline());
    EXPECT_THROW(window->setValue("Check1", 3), std::invalid_argument);
    EXPECT_THROW(window->value("Label2"), std::invalid_argument);
    EXPECT_THROW(window->setVisible("Image9", true), std::invalid_argument);
}

}  // namespace
}  // namespace morvane::ui::test
