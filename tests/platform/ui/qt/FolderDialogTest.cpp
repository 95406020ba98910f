// The folder dialog, driven for real: what it opens in and what it gives back.
#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <algorithm>

#include "platform/Translate.h"
#include "platform/ui/qt/FolderDialog.h"
#include "tests/platform/ui/qt/QtTestSupport.h"

namespace morvane::ui::test {
namespace {

const std::string kTitle = "Выберите директорию с Counter Strike";

class FolderDialog : public QtTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(games.path()).mkpath(QStringLiteral("Counter Strike 1.6")));
        owner = toolkit.createWindow(form3Layout(), sink);
        owner->show();
    }
    void TearDown() override {
        owner.reset();
        QtTest::TearDown();
    }

    // Opens the dialog from `start` and picks `folder` in it, or cancels when that is empty.
    std::string browse(const std::string& start, const QString& folder) {
        return withModal(
            [folder, this](QWidget& modal) {
                auto* dialog = qobject_cast<QFileDialog*>(&modal);
                if (dialog == nullptr) {
                    ADD_FAILURE() << "not a folder dialog";
                    modal.close();
                    return;
                }
                openedIn = dialog->directory().absolutePath();
                title = dialog->windowTitle();
                if (folder.isEmpty())
                    return dialog->reject();
                dialog->setDirectory(folder);
                static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
            },
            [&] { return toolkit.browseFolder(*owner, kTitle, start); });
    }

    QTemporaryDir games;
    std::unique_ptr<Window> owner;
    QString openedIn, title;
};

TEST_F(FolderDialog, OpensInTheStartFolderAndGivesTheChoiceWithoutATrailingSeparator) {
    const QString game = games.filePath(QStringLiteral("Counter Strike 1.6"));
    EXPECT_EQ(browse(games.path().toStdString(), game + "/"), game.toStdString());
    EXPECT_EQ(openedIn, QDir(games.path()).absolutePath());
    EXPECT_EQ(title.toStdString(), kTitle);
    EXPECT_EQ(browse(games.path().toStdString(), QStringLiteral("/")), "/") << "a root keeps it";
    EXPECT_EQ(browse(games.path().toStdString(), {}), "") << "cancel";
}

TEST_F(FolderDialog, AWindowsDriveStandsForTheHomeFolder) {
    for (const std::string start : {"c:\\", "D:\\Games\\Counter Strike"}) {
        browse(start, {});
        EXPECT_EQ(openedIn, QDir::home().absolutePath()) << start;
    }
}

// The names the dialog lists in the folder it shows, once it has read that folder.
QStringList listed(QFileDialog& dialog) {
    auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    const QDeadlineTimer guard(5000);
    while (view->model()->rowCount(view->rootIndex()) == 0 && !guard.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    return names;
}

// Steam's usual places are hidden folders (~/.steam/steam a link into ~/.local/share/Steam): they
// are listed, and one typed or pasted in can be chosen with the button as well as with Enter.
TEST_F(FolderDialog, ListsHiddenFoldersAndLetsATypedFolderBeChosen) {
    ASSERT_TRUE(QDir(games.path()).mkpath(QStringLiteral(".local/share/Steam/steamapps")));
    ASSERT_TRUE(QDir(games.path()).mkpath(QStringLiteral(".steam")));
    ASSERT_TRUE(QFile::link(QStringLiteral("../.local/share/Steam"),
                            games.filePath(QStringLiteral(".steam/steam"))));
    const std::pair<QString, QString> typed[] = {
        {games.filePath(QStringLiteral(".steam/steam")),
         games.filePath(QStringLiteral(".steam/steam"))},
        {QStringLiteral(".local/share/Steam"),
         games.filePath(QStringLiteral(".local/share/Steam"))},
        {games.filePath(QStringLiteral("Counter Strike 1.6")),
         games.filePath(QStringLiteral("Counter Strike 1.6"))},
        {games.filePath(QStringLiteral("missing")), {}},
    };
    for (const auto& [path, choice] : typed) {
        SCOPED_TRACE(path.toStdString());
        QStringList names;
        bool enabled = false;
        const std::string chosen = withModal(
            [&](QWidget& modal) {
                auto& dialog = static_cast<QFileDialog&>(modal);
                names = listed(dialog);
                auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                QAbstractButton* choose =
                    dialog.findChild<QDialogButtonBox*>()->buttons().constFirst();
                QApplication::setActiveWindow(&dialog);
                edit->setFocus();
                QTest::keyClicks(edit, path);
                enabled = choose->isEnabled();
                if (enabled)
                    choose->click();
                else
                    dialog.reject();
            },
            [&] { return toolkit.browseFolder(*owner, kTitle, games.path().toStdString()); });
        EXPECT_TRUE(names.contains(QStringLiteral(".steam")) &&
                    names.contains(QStringLiteral(".local")))
            << names.join(QStringLiteral(", ")).toStdString();
        EXPECT_EQ(enabled, !choice.isEmpty());
        EXPECT_EQ(chosen, choice.toStdString());
    }
}

bool cyrillic(const QString& text) {
    return std::ranges::any_of(text, [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

bool latin(const QString& text) {
    return std::ranges::any_of(text, [](QChar c) { return c.script() == QChar::Script_Latin; });
}

// Qt's own texts in the dialog (its buttons, its labels, its columns) come from its translation,
// the file types it lacks from the program's catalog, and its dates are written as Russian writes
// them, as the windowed program speaks Russian whatever the system's locale.
TEST_F(FolderDialog, QtsOwnTextsSpeakRussianWhenItsTranslationIsInstalled) {
    const QString file =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm");
    if (!QFileInfo::exists(file)) {
        GTEST_SKIP() << "no " << file.toStdString() << " (package qt6-translations-l10n)";
    }
    i18n::useLanguage({"ru"});
    QStringList english;
    QString modified;
    withModal(
        [&](QWidget& modal) {
            auto& dialog = static_cast<QFileDialog&>(modal);
            for (const QAbstractButton* button : modal.findChild<QDialogButtonBox*>()->buttons())
                english << button->text();
            for (const QLabel* label : modal.findChildren<QLabel*>())
                english << label->text();
            listed(dialog);
            const auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
            const QAbstractItemModel& files = *view->model();
            const QModelIndex folder = files.index(0, 0, view->rootIndex());
            for (int column = 0; column < files.columnCount(view->rootIndex()); ++column)
                english << files.headerData(column, Qt::Horizontal).toString();
            english << folder.siblingAtColumn(2).data().toString();
            modified = folder.siblingAtColumn(3).data().toString();
            english.removeIf(cyrillic);
            english.removeAll(QString());
            dialog.reject();
        },
        [&] { return toolkit.browseFolder(*owner, kTitle, games.path().toStdString()); });
    i18n::useLanguage({});
    EXPECT_TRUE(english.isEmpty()) << english.join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(!modified.isEmpty() && !latin(modified)) << modified.toStdString();
}

TEST(FolderResult, IsAbsoluteAndEndsInASeparatorOnlyAtTheRoot) {
    EXPECT_EQ(folders::folderResult(QStringLiteral("/games/cs/")), "/games/cs");
    EXPECT_EQ(folders::folderResult(QStringLiteral("/")), "/");
    EXPECT_EQ(folders::folderResult(QStringLiteral("games")),
              QDir::current().absoluteFilePath(QStringLiteral("games")).toStdString());
    EXPECT_EQ(folders::folderResult(QStringLiteral("/игры/Контра")), "/игры/Контра");
}

}  // namespace
}  // namespace morvane::ui::test
