// Draws the four windows into BMP files, to look at them: Form1.bmp ... Form4.bmp,
// Form4-status.bmp (status boxes ticked), and the result label in each of its looks:
// Form4-unknown.bmp, Form4-notremoved.bmp, Form4-removed.bmp.
#include <cstdio>
#include <filesystem>
#include <functional>

#include "Layouts.h"
#include "Utf16.h"
#include "Win32Toolkit.h"
#include "Win32Window.h"
#include "WindowPicture.h"

namespace {

using namespace morvane::ui;

struct Silent final : EventSink {
    void handle(std::string_view, Event) override {}
};

bool render(Win32Toolkit& toolkit, const WindowLayout& layout, const std::filesystem::path& file,
            const std::function<void(Window&)>& prepare = {}) {
    Silent sink;
    auto window = toolkit.createWindow(layout, sink);
    if (prepare)
        prepare(*window);
    window->show();
    toolkit.processPending();
    HBITMAP picture = test::drawWindow(static_cast<Win32Window&>(*window).hwnd());
    const bool saved = test::writeBmp(picture, file);
    DeleteObject(picture);
    window->close();
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
                 morvane::win32::narrow(file.wstring()).c_str());
    return saved;
}

void tickStatusBoxes(Window& window) {
    for (const char* box : {"Check4", "Check5", "Check6", "Check8", "Check10", "Check13"})
        window.setValue(box, 1);
}

std::function<void(Window&)> result(const char* text, Rgb colour) {
    return [text, colour](Window& window) {
        window.setTextColor("Label2", colour);
        window.setText("Label2", text);
    };
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::filesystem::path out =
        argc > 1 ? argv[1] : std::filesystem::current_path().wstring();
    Win32Toolkit toolkit;
    bool ok = render(toolkit, form1Layout(), out / "Form1.bmp");
    ok &= render(toolkit, form2Layout(), out / "Form2.bmp");
    ok &= render(toolkit, form3Layout(), out / "Form3.bmp");
    ok &= render(toolkit, form4Layout(), out / "Form4.bmp");
    ok &= render(toolkit, form4Layout(), out / "Form4-status.bmp", tickStatusBoxes);
    ok &= render(toolkit, form4Layout(), out / "Form4-unknown.bmp",
                 result("Неизвестно", {255, 255, 255}));
    ok &= render(toolkit, form4Layout(), out / "Form4-notremoved.bmp",
                 result("Реклама не удалена", {255, 0, 0}));
    ok &= render(toolkit, form4Layout(), out / "Form4-removed.bmp",
                 result("Реклама возможно удалена", {0, 255, 0}));
    return ok ? 0 : 1;
}
