// The folder dialog, driven for real: what it opens in and what it gives back.
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

#include "FolderDialog.h"
#include "Layouts.h"
#include "QtTestSupport.h"

namespace morvane::ui::test {
namespace {

const std::string kTitle = "Выберите директорию с Counter Strike";

class FolderDialog : public QtTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(games.isValid());
        ASSERT_TRUE(QDir(games.path()).mkpath(QStringLiteral("Counter Strike 1.6")));
        owner = toolkit.createWindow(form3Layout(), sink);
        owner->show();
    }
    void TearDown() override {
        owner.reset();
        QtTest::TearDown();
    }

    // Opens the dialog from `start`; `answer` plays the user on it.
    std::string browse(const std::string& start, std::function<void(QFileDialog&)> answer) {
        return withModal(
            [answer, this](QWidget& modal) {
                auto* dialog = qobject_cast<QFileDialog*>(&modal);
                if (dialog == nullptr) {
                    ADD_FAILURE() << "not a folder dialog";
                    modal.close();
                    return;
                }
                openedIn = dialog->directory().absolutePath();
                title = dialog->windowTitle();
                answer(*dialog);
            },
            [&] { return toolkit.browseFolder(*owner, kTitle, start); });
    }
    static std::function<void(QFileDialog&)> choose(const QString& folder) {
        return [folder](QFileDialog& dialog) {
            dialog.setDirectory(folder);
            static_cast<QDialog&>(dialog).accept();  // QFileDialog hides it
        };
    }

    QTemporaryDir games;
    std::unique_ptr<Window> owner;
    QString openedIn, title;
};

TEST_F(FolderDialog, ReturnsTheChosenFolderWithoutATrailingSeparator) {
    const QString game = games.filePath(QStringLiteral("Counter Strike 1.6"));
    const std::string chosen = browse(games.path().toStdString(), choose(game + "/"));
    EXPECT_EQ(chosen, game.toStdString());
    EXPECT_EQ(openedIn, QDir(games.path()).absolutePath()) << "opens in the start folder";
    EXPECT_EQ(title.toStdString(), kTitle);
}

TEST_F(FolderDialog, ARootKeepsItsSeparator) {
    EXPECT_EQ(browse(games.path().toStdString(), choose(QStringLiteral("/"))), "/");
}

TEST_F(FolderDialog, CancelGivesAnEmptyText) {
    EXPECT_EQ(browse(games.path().toStdString(), [](QFileDialog& dialog) { dialog.reject(); }), "");
}

TEST_F(FolderDialog, AWindowsDriveStandsForTheHomeFolder) {
    for (const std::string start : {"c:\\", "D:\\Games\\Counter Strike"}) {
        SCOPED_TRACE(start);
        browse(start, [](QFileDialog& dialog) { dialog.reject(); });
        EXPECT_EQ(openedIn, QDir::home().absolutePath());
    }
}

TEST(FolderResult, IsAbsoluteAndEndsInASeparatorOnlyAtTheRoot) {
    EXPECT_EQ(folders::folderResult(QStringLiteral("/games/cs/")), "/games/cs");
    EXPECT_EQ(folders::folderResult(QStringLiteral("/games/cs")), "/games/cs");
    EXPECT_EQ(folders::folderResult(QStringLiteral("/")), "/");
    EXPECT_EQ(folders::folderResult(QStringLiteral("games")),
              QDir::current().absoluteFilePath(QStringLiteral("games")).toStdString());
    EXPECT_EQ(folders::folderResult(QStringLiteral("/игры/Контра")), "/игры/Контра");
}

}  // namespace
}  // namespace morvane::ui::test
