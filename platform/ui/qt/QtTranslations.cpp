#include "platform/ui/qt/QtTranslations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string_view>

#include "platform/Translate.h"

namespace morvane::ui {
namespace {

// The file types that the folder dialog shows, which Qt 6 words in a context of its own that
// Debian's Russian translation of Qt 6.4 does not have yet ("Folder" stayed English).
class FileTypeTexts final : public QTranslator {
  public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* source, const char*, int) const override {
        if (std::string_view(context) != "QAbstractFileIconProvider")
            return {};
        const std::string_view text(source);
        std::string worded;
        if (text == "Folder")
            worded = i18n::trc("a file's type", "Folder");
        else if (text == "Drive")
            worded = i18n::trc("a file's type", "Drive");
        else if (text == "File")
            worded = i18n::trc("a file's type", "File");
        else if (text == "Shortcut")
            worded = i18n::trc("a file's type", "Shortcut");
        else if (text == "Unknown")
            worded = i18n::trc("a file's type", "Unknown");
        return QString::fromStdString(worded);
    }
};

}  // namespace

void speakRussian() {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);
    auto* qtTexts = new QTranslator(qApp);
    if (qtTexts->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qtTexts);
    } else {
        delete qtTexts;
    }
    // Installed last, so asked first; it answers only what Qt's translation lacks.
    QCoreApplication::installTranslator(new FileTypeTexts(qApp));
}

}  // namespace morvane::ui
