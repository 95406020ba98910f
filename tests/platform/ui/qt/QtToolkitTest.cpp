// What the Qt toolkit's services do beyond the toolkit contract.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/platform/ui/qt/QtTestSupport.h"

namespace morvane::ui::test {
namespace {

using QtToolkitServices = QtTest;

// The launcher test matches names exactly, as the system does here.
TEST_F(QtToolkitServices, PathExistsTellsNamesApartByCase) {
    QTemporaryDir games;
    QFile file(games.filePath(QStringLiteral("hl.exe")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(toolkit.pathExists(games.path().toStdString() + "/hl.exe"));
    EXPECT_FALSE(toolkit.pathExists(games.path().toStdString() + "/HL.EXE"));
}

}  // namespace
}  // namespace morvane::ui::test
