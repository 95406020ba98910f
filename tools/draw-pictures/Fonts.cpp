#include "Pictures.h"

#include <QDir>
#include <QFontDatabase>

namespace morvane::pictures {

QString loadPictureFonts(const QString& fontDir) {
    const QDir dir(fontDir);
    for (const char* file : {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                             "LiberationSansNarrow-Bold.ttf"}) {
        const QString path = dir.filePath(QString::fromLatin1(file));
        if (QFontDatabase::addApplicationFont(path) < 0) {
            return QStringLiteral("cannot load font %1").arg(path);
        }
    }
    return {};
}

}  // namespace morvane::pictures
