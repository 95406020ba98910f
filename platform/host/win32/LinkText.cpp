#include "platform/host/win32/LinkText.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace morvane::win32 {
namespace {

// The head of REPARSE_DATA_BUFFER for a symbolic link, which the SDK keeps for drivers.
struct SymbolicLinkHead {
    DWORD tag;
    WORD dataLength;
    WORD reserved;
    WORD substituteOffset;
    WORD substituteLength;
    WORD printOffset;
    WORD printLength;
    ULONG flags;
};

constexpr DWORD kUnprivilegedCreate = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE

}  // namespace

std::optional<std::wstring> linkTextOf(HANDLE entry) {
    std::vector<char> data(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
    DWORD got = 0;
    if (!DeviceIoControl(entry, FSCTL_GET_REPARSE_POINT, nullptr, 0, data.data(),
                         static_cast<DWORD>(data.size()), &got, nullptr) ||
        got < sizeof(SymbolicLinkHead)) {
        return std::nullopt;
    }
    SymbolicLinkHead head;
    std::memcpy(&head, data.data(), sizeof head);
    if (head.tag != IO_REPARSE_TAG_SYMLINK)
        return std::nullopt;
    const auto name = [&](WORD offset, WORD length) -> std::optional<std::wstring> {
        if (sizeof head + offset + length > got)
            return std::nullopt;
        std::wstring text(length / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), data.data() + sizeof head + offset, length);
        return text;
    };
    const auto printed = name(head.printOffset, head.printLength);
    if (printed && !printed->empty())
        return printed;
    auto substitute = name(head.substituteOffset, head.substituteLength);
    if (substitute && substitute->starts_with(L"\\??\\"))
        substitute->erase(0, 4);
    return substitute;
}

bool makeFileLink(const std::wstring& at, const std::wstring& text) {
    if (CreateSymbolicLinkW(at.c_str(), text.c_str(), kUnprivilegedCreate))
        return true;
    // Windows before developer mode existed knows no such flag, and refuses it.
    return GetLastError() == ERROR_INVALID_PARAMETER &&
           CreateSymbolicLinkW(at.c_str(), text.c_str(), 0);
}

}  // namespace morvane::win32
