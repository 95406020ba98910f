// Draws the four windows offscreen into PNG files, to look at them without a display:
// Form1.png ... Form4.png, Form4-status.png (status boxes ticked), and the result label in each of
// its looks: Form4-unknown.png, Form4-notremoved.png, Form4-removed.png.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <functional>

#include "Layouts.h"
#include "QtToolkit.h"
#include "QtWindow.h"

namespace {

using namespace morvane::ui;

struct Silent final : EventSink {
    void handle(std::string_view, Event) override {}
};

bool render(QtToolkit& toolkit, const WindowLayout& layout, const QString& file,
            const std::function<void(Window&)>& prepare = {}) {
    Silent sink;
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

void tickStatusBoxes(Window& window) {
    for (const char* box : {"Check4", "Check5", "Check6", "Check8", "Check10", "Check13"}) {
        window.setValue(box, 1);
    }
}

std::function<void(Window&)> result(const char* text, Rgb colour) {
    return [text, colour](Window& window) {
        window.setText("Label2", text);
        window.setTextColor("Label2", colour);
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QtToolkit toolkit;
    bool ok = render(toolkit, form1Layout(), out.filePath("Form1.png"));
    ok &= render(toolkit, form2Layout(), out.filePath("Form2.png"));
    ok &= render(toolkit, form3Layout(), out.filePath("Form3.png"));
    ok &= render(toolkit, form4Layout(), out.filePath("Form4.png"));
    ok &= render(toolkit, form4Layout(), out.filePath("Form4-status.png"), tickStatusBoxes);
    ok &= render(toolkit, form4Layout(), out.filePath("Form4-unknown.png"),
                 result("Неизвестно", {255, 255, 255}));
    ok &= render(toolkit, form4Layout(), out.filePath("Form4-notremoved.png"),
                 result("Реклама не удалена", {255, 0, 0}));
    ok &= render(toolkit, form4Layout(), out.filePath("Form4-removed.png"),
                 result("Реклама возможно удалена", {0, 255, 0}));
    return ok ? 0 : 1;
}
