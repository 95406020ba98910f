#include "platform/ui/win32/Controls.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <stdexcept>

#include "platform/host/win32/Utf16.h"
#include "platform/ui/ControlRules.h"

namespace morvane::ui::win32::controls {

namespace {

using morvane::win32::wide;

// Pixels from the left edge to the caption's gap in a frame, and around the caption in it.
constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;

void paintFrame(HWND frame, HDC dc) {
    RECT area;
    GetClientRect(frame, &area);
    auto* brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(frame), WM_CTLCOLORSTATIC,
                                                        reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(frame)));
    FillRect(dc, &area, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(frame, GWLP_USERDATA));
    const HGDIOBJ oldFont =
        SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    RECT line = area;
    line.top += metrics.tmHeight / 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_RECT);

    const std::wstring caption = text(frame);
    if (!caption.empty()) {
        SIZE size;
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        RECT gap{kCaptionIndent, 0, kCaptionIndent + size.cx + 2 * kCaptionPadding,
                 metrics.tmHeight};
        FillRect(dc, &gap, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &gap,
                  DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK frameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(frame, &paint);
            paintFrame(frame, dc);
            EndPaint(frame, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            paintFrame(frame, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_SETFONT:
            SetWindowLongPtrW(frame, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
            if (LOWORD(lParam) != 0)
                InvalidateRect(frame, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(frame, GWLP_USERDATA);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(frame, message, wParam, lParam);
            InvalidateRect(frame, nullptr, TRUE);
            return result;
        }
        default:
            return DefWindowProcW(frame, message, wParam, lParam);
    }
}

struct Creation {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle = 0;
};

// Every control is a group of its own, so the arrow keys never carry the focus to a label or a
// picture; the Tab key alone walks the tab order.
Creation creationOf(const ControlLayout& layout) {
    constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS | WS_GROUP;
    switch (layout.kind) {
        case ControlKind::Frame:
            return {frameClass(), kChild};
        case ControlKind::Label:
            // Plain text that word-wraps: a game folder shown here never reads "&" as a mnemonic.
            return {WC_STATICW, kChild | SS_LEFT | SS_NOPREFIX | SS_NOTIFY};
        case ControlKind::Picture:
            return {WC_STATICW, kChild | SS_BITMAP | SS_NOTIFY};
        case ControlKind::CheckBox:
            return {WC_BUTTONW, kChild | BS_AUTOCHECKBOX};
        case ControlKind::PushButton:
            return {WC_BUTTONW, kChild | BS_PUSHBUTTON};
        case ControlKind::TextBox:
            return {WC_EDITW, kChild | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::ComboBox:
            return {WC_COMBOBOXW, kChild | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL};
        case ControlKind::Timer:
            break;
    }
    throw std::invalid_argument("a timer has no window");
}

}  // namespace

const wchar_t* frameClass() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW frame{};
        frame.cbSize = sizeof(frame);
        frame.lpfnWndProc = frameProc;
        frame.hInstance = GetModuleHandleW(nullptr);
        frame.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        frame.lpszClassName = L"MorvaneFrame";
        RegisterClassExW(&frame);
        return frame.lpszClassName;
    }();
    return name;
}

HWND make(const ControlLayout& layout, HWND parent, int id) {
    Creation creation = creationOf(layout);
    if (layout.visible)
        creation.style |= WS_VISIBLE;
    if (!layout.enabled)
        creation.style |= WS_DISABLED;
    if (takesFocus(layout))
        creation.style |= WS_TABSTOP;
    const std::wstring caption = layout.kind == ControlKind::Picture ? L"" : wide(layout.caption);
    HWND control = CreateWindowExW(
        creation.exStyle, creation.windowClass, caption.c_str(), creation.style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr)
        throw std::runtime_error("cannot create " + std::string(layout.name));
    if (layout.kind == ControlKind::ComboBox) {
        for (std::string_view item : layout.items)
            SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
        SetWindowTextW(control, caption.c_str());
    }
    // A themed check box draws its caption in the theme's colour, whatever its parent says: the
    // white common-look captions would turn black on black.
    if (layout.kind == ControlKind::CheckBox && layout.look != Look::StatusBox &&
        layout.look != Look::Standard) {
        SetWindowTheme(control, L"", L"");
    }
    return control;
}

HWND comboEdit(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

void place(const ControlLayout& layout, HWND control, RECT pixels) {
    const int width = pixels.right - pixels.left;
    const int height = pixels.bottom - pixels.top;
    if (layout.kind != ControlKind::ComboBox) {
        SetWindowPos(control, nullptr, pixels.left, pixels.top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    // The size of a drop-down box includes its open list; the closed box is as high as its
    // selection field, whose height is set apart and corrected by what the box makes of it.
    const auto listed = static_cast<int>(layout.items.size()) + 1;
    SetWindowPos(control, nullptr, pixels.left, pixels.top, width, height * (listed + 1),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The field's height as read back need not be the one set (Wine adds its border), so the
    // correction goes from what was set.
    auto field = static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    for (int round = 0; round < 3; ++round) {
        RECT closed;
        GetWindowRect(control, &closed);
        const int difference = height - (closed.bottom - closed.top);
        if (difference == 0)
            break;
        field += difference;
        SendMessageW(control, CB_SETITEMHEIGHT, WPARAM(-1), field);
    }
}

HBITMAP loadPicture(std::string_view file, int width, int height) {
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), wide(file).c_str(),
                                           IMAGE_BITMAP, width, height, LR_CREATEDIBSECTION));
}

int value(HWND box) {
    switch (SendMessageW(box, BM_GETCHECK, 0, 0)) {
        case BST_CHECKED:
            return 1;
        case BST_INDETERMINATE:
            return 2;
        default:
            return 0;
    }
}

void setValue(HWND box, int value) {
    static constexpr WPARAM kStates[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
    if (value < 0 || value > 2)
        throw std::invalid_argument("check box value " + std::to_string(value));
    // Only a three-state box can be grayed.
    SendMessageW(box, BM_SETSTYLE, value == 2 ? BS_AUTO3STATE : BS_AUTOCHECKBOX, FALSE);
    SendMessageW(box, BM_SETCHECK, kStates[value], 0);
}

void settleAfterClick(HWND box) {
    const int now = value(box);
    if (now != 2)
        SendMessageW(box, BM_SETSTYLE, BS_AUTOCHECKBOX, TRUE);
}

std::wstring text(HWND control) {
    std::wstring result(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    result.resize(static_cast<std::size_t>(
        GetWindowTextW(control, result.data(), static_cast<int>(result.size()))));
    return result;
}

}  // namespace morvane::ui::win32::controls
