// Draws the four windows offscreen into PNG files, to look at them without a display:
// Form1.png ... Form4.png, Form4-status.png (status boxes ticked), and the result label in each of
// its looks: Form4-unknown.png, Form4-notremoved.png, Form4-removed.png.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <functional>

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

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QtToolkit toolkit;
    bool ok = true;
    for (const morvane::test::Scene& scene : morvane::test::windowScenes()) {
        ok &= render(toolkit, *scene.layout,
                     out.filePath(QString::fromStdString(scene.name + ".png")), scene.prepare);
    }
    return ok ? 0 : 1;
}
