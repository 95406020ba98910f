// Draws the four windows into BMP files, to look at them: Form1.bmp ... Form4.bmp,
// Form4-status.bmp (status boxes ticked), and the result label in each of its looks:
// Form4-unknown.bmp, Form4-notremoved.bmp, Form4-removed.bmp.
#include <cstdio>
#include <filesystem>
#include <functional>

#include "platform/host/win32/Utf16.h"
#include "platform/ui/win32/Win32Toolkit.h"
#include "platform/ui/win32/Win32Window.h"
#include "tests/platform/ui/win32/WindowPicture.h"
#include "tests/support/RecordingSink.h"
#include "tests/support/WindowScenes.h"

namespace {

using namespace morvane::ui;

bool render(Win32Toolkit& toolkit, const WindowLayout& layout, const std::filesystem::path& file,
            const std::function<void(Window&)>& prepare = {}) {
    morvane::ui::test::SilentSink sink;
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::filesystem::path out =
        argc > 1 ? argv[1] : std::filesystem::current_path().wstring();
    Win32Toolkit toolkit;
    bool ok = true;
    for (const morvane::test::Scene& scene : morvane::test::windowScenes())
        ok &= render(toolkit, *scene.layout, out / (scene.name + ".bmp"), scene.prepare);
    return ok ? 0 : 1;
}
