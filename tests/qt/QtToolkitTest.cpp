// The desktop services of the Qt toolkit: message boxes, scripted answers, paths, posting, quit.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include "Layouts.h"
#include "QtTestSupport.h"

namespace morvane::ui::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    Qt::TextFormat format = Qt::AutoText;
};

class QtToolkitServices : public QtTest {
  protected:
    SeenBox show(const std::string& text, const std::string& title, MessageIcon icon) {
        SeenBox seen;
        withModal(
            [&seen](QWidget& modal) {
                auto* box = qobject_cast<QMessageBox*>(&modal);
                ASSERT_NE(box, nullptr);
                seen = {box->windowTitle(), box->text(), box->icon(),
                        static_cast<int>(box->buttons().size()), box->textFormat()};
                box->button(QMessageBox::Ok)->click();
            },
            [&] {
                toolkit.messageBox(text, title, icon);
                return 0;
            });
        return seen;
    }
};

TEST_F(QtToolkitServices, MessageBoxesCarryTheirIconTextAndTitleWithOneButton) {
    const SeenBox notice = show("Данная функция в разработке!", "", MessageIcon::Information);
    EXPECT_EQ(notice.title, QStringLiteral("Morvane")) << "no title: the program's name";
    EXPECT_EQ(notice.text, QStringLiteral("Данная функция в разработке!"));
    EXPECT_EQ(notice.icon, QMessageBox::Information);
    EXPECT_EQ(notice.buttons, 1);

    const SeenBox warning = show("<b>not markup</b>", "Внимание!!!", MessageIcon::Exclamation);
    EXPECT_EQ(warning.title, QStringLiteral("Внимание!!!"));
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.buttons, 1);
    EXPECT_EQ(warning.format, Qt::PlainText);
}

TEST_F(QtToolkitServices, WithAScriptNothingIsShownAndNothingWaits) {
    DialogScript script;
    script.folders = {"/games/cs"};
    toolkit.useScript(&script);
    auto form3 = toolkit.createWindow(form3Layout(), sink);
    form3->show();

    toolkit.messageBox("text", "", MessageIcon::Exclamation);
    EXPECT_EQ(toolkit.browseFolder(*form3, "title", "c:\\"), "/games/cs");
    EXPECT_EQ(toolkit.browseFolder(*form3, "title", ""), "") << "no answer left: cancel";
    toolkit.openUrl("https://www.example.org/");
    toolkit.quit();

    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].title, "");
    EXPECT_EQ(script.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_THAT(script.browseStarts, ElementsAre("c:\\", ""));
    EXPECT_THAT(script.openedUrls, ElementsAre("https://www.example.org/"));
    EXPECT_EQ(script.quitRequests, 1);
    EXPECT_TRUE(widgetOf(*form3).isVisible()) << "a scripted quit keeps the program running";
    form3->close();
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
    EXPECT_FALSE(toolkit.pathExists(root + "/missing/hl.exe"));
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
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(2000);
    EXPECT_EQ(QApplication::exec(), 0) << "quit did not leave the event loop";
    QApplication::setQuitOnLastWindowClosed(true);
    EXPECT_FALSE(widgetOf(*form3).isVisible());
    EXPECT_FALSE(widgetOf(*form4).isVisible());
    EXPECT_THAT(sink.events, IsEmpty());
}

TEST_F(QtToolkitServices, WindowTextsColoursAndUnderline) {
    auto window = toolkit.createWindow(form4Layout(), sink);
    const std::string folder = "/home/игрок/<b>Counter Strike</b> & co";
    window->setText("Label1", folder);
    EXPECT_EQ(window->text("Label1"), folder);
    EXPECT_FALSE(window->isVisible("Label1")) << "the game folder label is never shown";
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
