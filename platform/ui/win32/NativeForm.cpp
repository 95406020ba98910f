#include "platform/ui/win32/NativeForm.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <tuple>

#include "platform/host/win32/Utf16.h"
#include "platform/ui/ControlRules.h"
#include "platform/ui/win32/Controls.h"
#include "platform/ui/win32/Dpi.h"
#include "platform/ui/win32/ResourceIds.h"

namespace morvane::ui::win32 {

namespace {

using morvane::win32::wide;

constexpr UINT kDestroyLater = WM_APP + 1;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, from Windows 8.1 on
constexpr int kFirstControlId = 100;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

bool noButtonHeld(WPARAM keys) {
    return (keys & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) == 0;
}

// Fixed single border: a title bar with the caption and a close box only. No border at all for
// the start window.
DWORD styleOf(const WindowLayout& layout) {
    return layout.bordered ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU : WS_POPUP;
}

HICON icon(int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(MORVANE_WINDOW_ICON_ID), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), 0));
}

HBRUSH brush(int stockObject) {
    return static_cast<HBRUSH>(GetStockObject(stockObject));
}

}  // namespace

bool isInput(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
           message == WM_CONTEXTMENU;
}

NativeForm& NativeForm::create(FormList& forms, const WindowLayout& layout, EventSink& sink) {
    auto* form = new NativeForm(forms, layout, sink);
    try {
        form->build();
    } catch (...) {
        if (form->hwnd_ != nullptr)
            DestroyWindow(form->hwnd_);
        delete form;
        throw;
    }
    form->ownedByWindow_ = true;
    return *form;
}

NativeForm* NativeForm::of(HWND hwnd) {
    if (hwnd == nullptr || !IsWindow(hwnd))
        return nullptr;
    wchar_t className[32];
    if (GetClassNameW(hwnd, className, 32) == 0 || std::wstring_view(className) != L"MorvaneWindow")
        return nullptr;
    return reinterpret_cast<NativeForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

NativeForm::NativeForm(FormList& forms, const WindowLayout& layout, EventSink& sink)
    : forms_(forms), layout_(layout), sink_(&sink) {
    forms_.insert(this);
}

NativeForm::~NativeForm() {
    forms_.erase(this);
    for (NativeControl& control : controls_) {
        if (control.picture != nullptr)
            DeleteObject(control.picture);
    }
}

void NativeForm::build() {
    static const wchar_t* const formClass = [] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof(form);
        form.lpfnWndProc = windowProc;
        form.hInstance = GetModuleHandleW(nullptr);
        form.hIcon = icon(SM_CXICON, SM_CYICON);
        form.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.hbrBackground = brush(BLACK_BRUSH);
        form.lpszClassName = L"MorvaneWindow";
        RegisterClassExW(&form);
        return form.lpszClassName;
    }();
    const unsigned screenDpi = systemDpi();
    const POINT designPlace{pixels(layout_.left, screenDpi), pixels(layout_.top, screenDpi)};
    hwnd_ = CreateWindowExW(0, formClass, wide(layout_.caption).c_str(), styleOf(layout_),
                            designPlace.x, designPlace.y, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
    if (hwnd_ == nullptr)
        throw std::runtime_error("cannot create " + std::string(layout_.name));
    NativeControl window;
    window.hwnd = hwnd_;
    controls_.push_back(window);
    createControls();
    stack();
    addToolTips();
    layOut(dpiOf(hwnd_), designPlace);
    startTimers();
}

void NativeForm::createControls() {
    for (const ControlLayout& layout : layout_.controls) {
        if (layout.kind == ControlKind::Timer) {
            timers_.push_back({&layout, timers_.size() + 1});
            continue;
        }
        const NativeControl& container = control(layout.container);
        NativeControl added;
        added.layout = &layout;
        added.left = container.left + layout.left;
        added.top = container.top + layout.top;
        const auto index = controls_.size();
        added.hwnd = controls::make(layout, hwnd_, kFirstControlId + static_cast<int>(index));
        SetWindowSubclass(added.hwnd, controlProc, index, reinterpret_cast<DWORD_PTR>(this));
        if (layout.kind == ControlKind::ComboBox) {
            added.inner = controls::comboEdit(added.hwnd);
            if (added.inner != nullptr)
                SetWindowSubclass(added.inner, controlProc, index,
                                  reinterpret_cast<DWORD_PTR>(this));
        }
        controls_.push_back(added);
    }
}

// Top to bottom: the other controls in tab order, then the pictures as listed (the first on top),
// then the frames, a frame inside another above it.
void NativeForm::stack() {
    std::vector<std::size_t> order;
    for (std::size_t i = 1; i < controls_.size(); ++i)
        order.push_back(i);
    auto rank = [this](std::size_t i) {
        const ControlLayout& layout = *controls_[i].layout;
        const auto listed = static_cast<int>(i);
        if (layout.kind == ControlKind::Frame)
            return std::tuple(2, -listed);
        if (layout.kind == ControlKind::Picture)
            return std::tuple(1, listed);
        return std::tuple(0, layout.tabIndex);
    };
    std::ranges::stable_sort(order, {}, rank);
    HWND above = HWND_TOP;
    for (std::size_t i : order) {
        SetWindowPos(controls_[i].hwnd, above, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = controls_[i].hwnd;
    }
}

// A disabled control gets no pointer messages, its window does: its tip is tied to its area of the
// window instead of to the control (the area is set by layOut).
void NativeForm::addToolTips() {
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    for (std::size_t i = 1; i < controls_.size(); ++i) {
        const NativeControl& control = controls_[i];
        if (control.layout->toolTip.empty())
            continue;
        std::wstring text = wide(control.layout->toolTip);
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = hwnd_;
        tool.lpszText = text.data();
        if (control.layout->enabled) {
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            for (HWND part : {control.hwnd, control.inner}) {
                if (part == nullptr)
                    continue;
                tool.uId = reinterpret_cast<UINT_PTR>(part);
                SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
            }
        } else {
            tool.uFlags = TTF_SUBCLASS;
            tool.uId = i;
            SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

void NativeForm::startTimers() {
    for (const Timer& timer : timers_) {
        if (timer.layout->enabled)
            SetTimer(hwnd_, timer.id, static_cast<UINT>(timer.layout->interval), nullptr);
    }
}

RECT NativeForm::pixelRect(const NativeControl& control) const {
    const int left = pixels(control.left, dpi_);
    const int top = pixels(control.top, dpi_);
    return {left, top, left + pixels(control.layout->width, dpi_),
            top + pixels(control.layout->height, dpi_)};
}

// Everything in pixels at `dpi`: fonts, controls, pictures, tip areas, and the window, whose client
// area starts at `clientPlace` on the screen.
void NativeForm::layOut(unsigned dpi, POINT clientPlace) {
    dpi_ = dpi;
    auto fonts = std::make_unique<LookFonts>(dpi);
    for (std::size_t i = 1; i < controls_.size(); ++i) {
        NativeControl& control = controls_[i];
        const ControlLayout& layout = *control.layout;
        const RECT place = pixelRect(control);
        SendMessageW(control.hwnd, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts->font(layout.look, control.underlined)), FALSE);
        if (layout.kind == ControlKind::Picture) {
            HBITMAP picture = controls::loadPicture(layout.caption, place.right - place.left,
                                                    place.bottom - place.top);
            auto* previous = reinterpret_cast<HBITMAP>(SendMessageW(
                control.hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
            // The control may show a copy of its own; ours goes either way.
            if (previous != nullptr && previous != control.picture)
                DeleteObject(previous);
            if (control.picture != nullptr)
                DeleteObject(control.picture);
            control.picture = picture;
        }
        controls::place(layout, control.hwnd, place);
        if (!layout.enabled && !layout.toolTip.empty()) {
            TOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.hwnd = hwnd_;
            tool.uId = i;
            tool.rect = place;
            SendMessageW(toolTips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    fonts_ = std::move(fonts);

    const RECT client{clientPlace.x, clientPlace.y, clientPlace.x + pixels(layout_.width, dpi),
                      clientPlace.y + pixels(layout_.height, dpi)};
    const RECT outer = outerRect(client, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                                 static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi);
    SetWindowPos(hwnd_, nullptr, outer.left, outer.top, outer.right - outer.left,
                 outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void NativeForm::onDpiChanged(unsigned dpi, const RECT& suggested) {
    const RECT frame = outerRect({0, 0, 0, 0}, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                                 static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi);
    layOut(dpi, {suggested.left - frame.left, suggested.top - frame.top});
}

NativeControl& NativeForm::control(std::string_view name) {
    if (name == layout_.name)
        return controls_.front();
    for (std::size_t i = 1; i < controls_.size(); ++i) {
        if (controls_[i].layout->name == name)
            return controls_[i];
    }
    throw std::invalid_argument("no control " + std::string(name) + " in " +
                                std::string(layout_.name));
}

UINT_PTR NativeForm::timerId(std::string_view name) const {
    for (const Timer& timer : timers_) {
        if (timer.layout->name == name)
            return timer.id;
    }
    throw std::invalid_argument("no timer " + std::string(name) + " in " +
                                std::string(layout_.name));
}

NativeControl* NativeForm::controlOf(HWND hwnd) {
    for (std::size_t i = 1; i < controls_.size(); ++i) {
        if (controls_[i].hwnd == hwnd || controls_[i].inner == hwnd)
            return &controls_[i];
    }
    return nullptr;
}

// The control at a point of the client area, topmost first, hidden ones passed over; a disabled
// one counts, as it holds the place. The bare client area is the window's own.
std::string_view NativeForm::nameAt(POINT clientPoint) {
    HWND child = ChildWindowFromPointEx(hwnd_, clientPoint, CWP_SKIPINVISIBLE);
    if (const NativeControl* found = child != hwnd_ ? controlOf(child) : nullptr)
        return found->layout->name;
    return layout_.name;
}

void NativeForm::report(std::string_view control, Event event) {
    if (sink_ != nullptr)
        sink_->handle(control, event);
}

void NativeForm::show() {
    quiet_ = false;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    if (GetActiveWindow() == hwnd_)
        restoreFocus();
}

void NativeForm::closeQuietly() {
    quiet_ = true;
    for (const Timer& timer : timers_)
        KillTimer(hwnd_, timer.id);
    ShowWindow(hwnd_, SW_HIDE);
}

void NativeForm::discard() {
    sink_ = nullptr;
    closeQuietly();
    if (depth_ == 0) {
        DestroyWindow(hwnd_);  // deletes this
    } else {
        PostMessageW(hwnd_, kDestroyLater, 0, 0);
    }
}

void NativeForm::setTextColour(NativeControl& control, COLORREF colour) {
    control.textColour = colour;
    repaint(control);
}

void NativeForm::setUnderline(NativeControl& control, bool underlined) {
    control.underlined = underlined;
    if (control.layout != nullptr) {
        SendMessageW(control.hwnd, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts_->font(control.layout->look, underlined)),
                     FALSE);
    }
    repaint(control);
}

void NativeForm::repaint(const NativeControl& control) {
    if (control.hwnd == hwnd_) {
        InvalidateRect(hwnd_, nullptr, TRUE);
        return;
    }
    RECT area;
    GetWindowRect(control.hwnd, &area);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    RedrawWindow(hwnd_, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void NativeForm::setValue(NativeControl& control, int value) {
    const int before = controls::value(control.hwnd);
    controls::setValue(control.hwnd, value);
    if (value != before)
        report(control.layout->name, Event::Click);
}

bool NativeForm::raisesClick(HWND hwnd) {
    const NativeControl* control = controlOf(hwnd);
    return control != nullptr && ui::raisesClick(*control->layout);
}

void NativeForm::focusFirst() {
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE))
        SetFocus(first);
}

void NativeForm::restoreFocus() {
    if (focus_ != nullptr && IsWindow(focus_) && IsWindowVisible(focus_) &&
        IsWindowEnabled(focus_)) {
        SetFocus(focus_);
    } else {
        focusFirst();
    }
}

void NativeForm::onCommand(HWND child, WORD code) {
    const NativeControl* control = controlOf(child);
    if (control == nullptr || code != BN_CLICKED)
        return;
    if (control->layout->kind == ControlKind::CheckBox) {
        controls::settleAfterClick(child);
        report(control->layout->name, Event::Click);
    } else if (control->layout->kind == ControlKind::PushButton) {
        report(control->layout->name, Event::Click);
    }
}

LRESULT NativeForm::onColour(HDC dc, HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    const NativeControl* control = controlOf(child);
    if (control == nullptr)
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    switch (control->layout->look) {
        case Look::Common:
            SetTextColor(dc, control->textColour.value_or(kWhite));
            SetBkColor(dc, kBlack);
            SetBkMode(dc, OPAQUE);
            return reinterpret_cast<LRESULT>(brush(BLACK_BRUSH));
        case Look::Highlight:
            SetTextColor(dc, control->textColour.value_or(GetSysColor(COLOR_HIGHLIGHTTEXT)));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(brush(NULL_BRUSH));
        case Look::StatusBox:
            SetBkColor(dc, kBlack);
            return reinterpret_cast<LRESULT>(brush(BLACK_BRUSH));
        case Look::Standard:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT NativeForm::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam != 0)
                onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return onColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message,
                            wParam, lParam);
        case WM_MOUSEMOVE:
            if (noButtonHeld(wParam))
                report(nameAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), Event::MouseMove);
            return 0;
        case WM_TIMER:
            for (const Timer& timer : timers_) {
                if (timer.id == wParam)
                    report(timer.layout->name, Event::Timer);
            }
            return 0;
        case WM_SETCURSOR:
            if (!blocked_)
                return DefWindowProcW(hwnd_, message, wParam, lParam);
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        case WM_CLOSE:
            // The close box, the system menu, Alt+F4: the window hides; it is never destroyed
            // here, as the program still holds it.
            if (blocked_)
                return 0;
            if (!quiet_)
                report(layout_.name, Event::Unload);
            ShowWindow(hwnd_, SW_HIDE);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd_, focus))
                    focus_ = focus;
            } else if (HIWORD(wParam) == 0) {
                restoreFocus();
            }
            return 0;
        case WM_SETFOCUS:
            restoreFocus();
            return 0;
        case kDpiChanged:
            onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case kDestroyLater:
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            for (const Timer& timer : timers_)
                KillTimer(hwnd_, timer.id);
            // A picture control may show a copy of the bitmap it was given; the copy is handed
            // back, and deleted, when the control is given none.
            for (const NativeControl& control : controls_) {
                if (control.picture == nullptr)
                    continue;
                auto* shown = reinterpret_cast<HBITMAP>(
                    SendMessageW(control.hwnd, STM_SETIMAGE, IMAGE_BITMAP, 0));
                if (shown != nullptr && shown != control.picture)
                    DeleteObject(shown);
            }
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

LRESULT NativeForm::onControlMessage(NativeControl& control, HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
    const ControlLayout& layout = *control.layout;
    switch (message) {
        case WM_MOUSEMOVE:
            if (!noButtonHeld(wParam))
                break;
            if (layout.kind == ControlKind::Frame) {
                // A disabled control over the frame holds its place.
                POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                MapWindowPoints(hwnd, hwnd_, &point, 1);
                report(nameAt(point), Event::MouseMove);
            } else {
                report(layout.name, Event::MouseMove);
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (reportsOwnClicks(layout))
                SetCapture(hwnd);
            break;
        case WM_LBUTTONUP:
            // A click: the press landed on the control and the button comes up over it.
            if (reportsOwnClicks(layout) && GetCapture() == hwnd) {
                ReleaseCapture();
                RECT area;
                GetClientRect(hwnd, &area);
                if (PtInRect(&area, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                    report(layout.name, Event::Click);
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The form lives as long as its window: it is deleted on the window's last message, or, when that
// comes while one of its messages is still being handled, once the outermost of them returns.
LRESULT CALLBACK NativeForm::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<NativeForm*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* form = reinterpret_cast<NativeForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        form->hwnd_ = nullptr;
        if (form->depth_ == 0 && form->ownedByWindow_)
            delete form;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (form->blocked_ && isInput(message))
        return 0;
    ++form->depth_;
    const LRESULT result = form->onMessage(message, wParam, lParam);
    if (--form->depth_ == 0 && form->hwnd_ == nullptr && form->ownedByWindow_)
        delete form;
    return result;
}

LRESULT CALLBACK NativeForm::controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR index, DWORD_PTR data) {
    auto* form = reinterpret_cast<NativeForm*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, controlProc, index);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }
    if (form->blocked_ && isInput(message))
        return 0;
    ++form->depth_;
    const LRESULT result =
        form->onControlMessage(form->controls_[index], hwnd, message, wParam, lParam);
    if (--form->depth_ == 0 && form->hwnd_ == nullptr && form->ownedByWindow_)
        delete form;
    return result;
}

}  // namespace morvane::ui::win32
