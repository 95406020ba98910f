#include "platform/ui/qt/FolderDialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

namespace morvane::ui::folders {

namespace {

// The dialog's dates as the program writes them (QLocale's default, set to Russian with the
// windows): Qt's model writes them as the system's locale does, which is English on an English
// system while the rest of the dialog speaks Russian.
class ProgramDates final : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        constexpr int kDateColumn = 3;
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || index.column() != kDateColumn || files == nullptr)
            return QIdentityProxyModel::data(index, role);
        const QDateTime modified = files->lastModified(mapToSource(index));
        return modified.isValid() ? QLocale().toString(modified, QLocale::ShortFormat) : QString();
    }
};

}  // namespace

#ifndef Q_OS_WIN
namespace {

bool isDrivePath(const std::string& path) {
    const auto letter = static_cast<unsigned char>(path.empty() ? '\0' : path[0]);
    return path.size() >= 2 && path[1] == ':' &&
           ((letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z'));
}

}  // namespace
#endif

QString localStartFolder(const std::string& startFolder) {
#ifdef Q_OS_WIN
    return QString::fromStdString(startFolder);
#else
    if (isDrivePath(startFolder))
        return QDir::homePath();
    return QFile::decodeName(QByteArray::fromStdString(startFolder));
#endif
}

std::string folderResult(const QString& chosen) {
    // cleanPath drops a trailing separator, except the one that is the root.
    const QString absolute = QDir::cleanPath(QFileInfo(chosen).absoluteFilePath());
    return QFile::encodeName(QDir::toNativeSeparators(absolute)).toStdString();
}

std::string browse(QWidget* owner, const std::string& title, const std::string& startFolder) {
    QFileDialog dialog(owner, QString::fromStdString(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    // Steam's usual places (~/.steam, ~/.local/share/Steam) are hidden folders. Listed, they can be
    // reached by clicking; and only a folder the dialog lists counts as chosen when its path is
    // typed in, else "Выбрать" stays disabled.
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    dialog.setProxyModel(new ProgramDates(&dialog));
    if (!startFolder.empty())
        dialog.setDirectory(localStartFolder(startFolder));
    dialog.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::string{} : folderResult(chosen.first());
}

}  // namespace morvane::ui::folders
