#include "platform/ui/win32/Win32Toolkit.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <thread>

#include "platform/host/win32/Utf16.h"
#include "platform/ui/win32/FolderDialog.h"
#include "platform/ui/win32/MessageBox.h"
#include "platform/ui/win32/Win32Window.h"

namespace morvane::ui {

namespace {

using morvane::win32::wide;

// The title of a message box that was given none.
constexpr const char* kProgramName = "Morvane";
constexpr UINT kRunTask = WM_APP + 2;
constexpr UINT kWorkDone = WM_APP + 3;  // wakes the loop of runBusy; nothing to do

static_assert(static_cast<UINT>(MessageIcon::Exclamation) == MB_ICONEXCLAMATION &&
              static_cast<UINT>(MessageIcon::Information) == MB_ICONINFORMATION);

LRESULT CALLBACK tasksProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunTask)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const std::unique_ptr<std::function<void()>> task(
        reinterpret_cast<std::function<void()>*>(lParam));
    (*task)();
    return 0;
}

HWND createTasksWindow() {
    static const wchar_t* const tasksClass = [] {
        WNDCLASSEXW tasks{};
        tasks.cbSize = sizeof(tasks);
        tasks.lpfnWndProc = tasksProc;
        tasks.hInstance = GetModuleHandleW(nullptr);
        tasks.lpszClassName = L"MorvaneTasks";
        RegisterClassExW(&tasks);
        return tasks.lpszClassName;
    }();
    return CreateWindowExW(0, tasksClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

HWND hwndOf(Window& window) {
    auto* native = dynamic_cast<Win32Window*>(&window);
    return native != nullptr ? native->hwnd() : nullptr;
}

// Asks the window under the pointer for its pointer again, so a change shows before it moves.
void refreshPointer() {
    POINT at;
    GetCursorPos(&at);
    HWND under = WindowFromPoint(at);
    if (under == nullptr || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId())
        return;
    const auto hit =
        static_cast<WORD>(SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(hit, WM_MOUSEMOVE));
}

// Every window of the toolkit blocked for as long as it lives.
class Blocked {
  public:
    explicit Blocked(const win32::FormList& forms) : forms_(forms) { set(true); }
    ~Blocked() { set(false); }
    Blocked(const Blocked&) = delete;
    Blocked& operator=(const Blocked&) = delete;

  private:
    void set(bool blocked) {
        for (win32::NativeForm* form : forms_)
            form->setBlocked(blocked);
        refreshPointer();
    }
    const win32::FormList& forms_;
};

}  // namespace

Win32Toolkit::Win32Toolkit()
    : doubleClicks_(GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK) / 2,
                    GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
    // The folder dialog and the shell's "open" need COM on this thread, single-threaded.
    comReady_ =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    tasks_ = createTasksWindow();
}

Win32Toolkit::~Win32Toolkit() {
    MSG waiting;
    while (PeekMessageW(&waiting, tasks_, kRunTask, kRunTask, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(waiting.lParam);
    DestroyWindow(tasks_);
    for (win32::NativeForm* form : win32::FormList(forms_))
        DestroyWindow(form->hwnd());
    if (comReady_)
        CoUninitialize();
}

void Win32Toolkit::deliver(MSG& message) {
    // The dialog manager gives each window of ours the Tab key, the space bar on check boxes and
    // Enter on the button, in the stacking order that is the tab order.
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (win32::NativeForm* form = win32::NativeForm::of(root)) {
        if ((form->blocked() && win32::isInput(message.message)) || dropped(*form, message) ||
            IsDialogMessageW(root, &message))
            return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// The second press of a double click on a control that raises Click, and its release, go nowhere.
// The system tells a double click on one window only (WM_LBUTTONDBLCLK, which buttons take as a
// press), not one whose second press lands on a window that the first click opened.
bool Win32Toolkit::dropped(win32::NativeForm& form, const MSG& message) {
    switch (message.message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return doubleClicks_.dropPress(message.time, message.pt.x, message.pt.y,
                                           form.raisesClick(message.hwnd));
        case WM_LBUTTONUP:
            return doubleClicks_.dropRelease();
        default:
            return false;
    }
}

int Win32Toolkit::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        deliver(message);
    return static_cast<int>(message.wParam);
}

bool Win32Toolkit::processPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return false;
        deliver(message);
    }
    return true;
}

std::unique_ptr<Window> Win32Toolkit::createWindow(const WindowLayout& layout, EventSink& sink) {
    return std::make_unique<Win32Window>(forms_, layout, sink);
}

// Modal to its window and over it; to the whole program when that window is gone.
void Win32Toolkit::messageBox(Window& owner, const std::string& text, const std::string& title,
                              MessageIcon icon) {
    if (script_ != nullptr) {
        script_->messages.push_back({text, title, icon});
        return;
    }
    HWND ownerWindow = hwndOf(owner);
    UINT style = MB_OK | static_cast<UINT>(icon);
    if (ownerWindow == nullptr)
        style |= MB_TASKMODAL;
    win32::showMessageBox(ownerWindow, wide(text), wide(title.empty() ? kProgramName : title),
                          style);
}

std::string Win32Toolkit::browseFolder(Window& owner, const std::string& title,
                                       const std::string& startFolder) {
    if (script_ != nullptr)
        return script_->browse(startFolder);
    return win32::browseForFolder(hwndOf(owner), title, startFolder);
}

void Win32Toolkit::openUrl(const std::string& url) {
    if (script_ != nullptr) {
        script_->openedUrls.push_back(url);
        return;
    }
    ShellExecuteW(GetActiveWindow(), L"open", wide(url).c_str(), L"", L"", SW_SHOW);
}

// A quit while the work runs ends this loop; the work is still waited for, as it uses what its
// caller holds, and the quit is passed on to the loop outside.
void Win32Toolkit::runBusy(const std::function<void()>& work) {
    const Blocked blocked(forms_);
    std::exception_ptr failure;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        PostMessageW(tasks_, kWorkDone, 0, 0);
    });
    std::optional<int> quitCode;
    MSG message;
    for (BOOL got = TRUE; !done && got > 0;) {
        got = GetMessageW(&message, nullptr, 0, 0);
        if (got > 0)
            deliver(message);
        else if (got == 0)
            quitCode = static_cast<int>(message.wParam);
    }
    worker.join();
    if (quitCode)
        PostQuitMessage(*quitCode);
    if (failure)
        std::rethrow_exception(failure);
}

void Win32Toolkit::post(std::function<void()> task) {
    auto* queued = new std::function<void()>(std::move(task));
    if (!PostMessageW(tasks_, kRunTask, 0, reinterpret_cast<LPARAM>(queued)))
        delete queued;
}

void Win32Toolkit::quit() {
    if (script_ != nullptr) {
        ++script_->quitRequests;
        return;
    }
    for (win32::NativeForm* form : forms_)
        form->closeQuietly();
    PostQuitMessage(0);
}

}  // namespace morvane::ui
