// Draws the four windows offscreen into PNG files, to look at them without a display:
// Form1.png ... Form4.png, Form4-status.png (status boxes ticked), and the result label in each of
// its looks: Form4-unknown.png, Form4-notremoved.png, Form4-removed.png; and the folder dialog as
// Form3's "..." opens it, in its list and its detail view: FolderDialog.png,
// FolderDialog-details.png.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "platform/Translate.h"
#include "platform/ui/qt/QtToolkit.h"
#include "platform/ui/qt/QtWindow.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/WindowScenes.h"

namespace {

using namespace morvane::ui;

bool render(QtToolkit& toolkit, const WindowLayout& layout, const QString& file,
            const std::function<void(Window&)>& prepare = {}) {
    morvane::ui::test::SilentSink sink;
    auto window = toolkit.createWindow(layout, sink);
    if (prepare)
        prepare(*window);
    window->show();
    QApplication::processEvents();
    const bool saved = static_cast<QtWindow&>(*window).widget().grab().save(file);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
                 qPrintable(file));
    return saved;
}

bool saved(QWidget& widget, const QString& file) {
    const bool done = widget.grab().save(file);
    std::fprintf(done ? stdout : stderr, "%s %s\n", done ? "wrote" : "could not write",
                 qPrintable(file));
    return done;
}

// The dialog over Form3, in a folder of game folders, drawn once it has listed them.
bool renderFolderDialog(QtToolkit& toolkit, const QDir& out) {
    QTemporaryDir games;
    for (const char* name : {"Counter-Strike 1.6", "Half-Life", "Steam"})
        QDir(games.path()).mkpath(QString::fromUtf8(name));
    morvane::ui::test::SilentSink sink;
    auto owner = toolkit.createWindow(morvane::ui::form3Layout(), sink);
    owner->show();
    bool ok = false;
    QTimer::singleShot(500, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        ok = saved(*dialog, out.filePath(QStringLiteral("FolderDialog.png")));
        dialog->setViewMode(QFileDialog::Detail);
        QTimer::singleShot(500, [&, dialog] {
            ok &= saved(*dialog, out.filePath(QStringLiteral("FolderDialog-details.png")));
            dialog->reject();
        });
    });
    toolkit.browseFolder(*owner, "Выберите директорию с Counter Strike",
                         games.path().toStdString());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    morvane::i18n::useLanguage({"ru"});  // as the windowed program speaks
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QtToolkit toolkit;
    bool ok = true;
    for (const morvane::test::Scene& scene : morvane::test::windowScenes()) {
        ok &= render(toolkit, *scene.layout,
                     out.filePath(QString::fromStdString(scene.name + ".png")), scene.prepare);
    }
    ok &= renderFolderDialog(toolkit, out);
    return ok ? 0 : 1;
}
