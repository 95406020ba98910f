#include "platform/host/win32/SystemError.h"

#include <string_view>

#include "platform/Reason.h"
#include "platform/Translate.h"
#include "platform/host/win32/Utf16.h"

namespace morvane::win32 {
namespace {

struct Known {
    DWORD error;
    std::string_view text;  // in English as Windows words it
};

constexpr Known kKnown[] = {
    {ERROR_FILE_NOT_FOUND, i18n::trMark("The system cannot find the file specified")},
    {ERROR_PATH_NOT_FOUND, i18n::trMark("The system cannot find the path specified")},
    {ERROR_TOO_MANY_OPEN_FILES, i18n::trMark("The system cannot open the file")},
    {ERROR_ACCESS_DENIED, i18n::trMark("Access is denied")},
    {ERROR_NOT_ENOUGH_MEMORY,
     i18n::trMark("Not enough memory resources are available to process this command")},
    {ERROR_INVALID_DRIVE, i18n::trMark("The system cannot find the drive specified")},
    {ERROR_WRITE_PROTECT, i18n::trMark("The media is write protected")},
    {ERROR_NOT_READY, i18n::trMark("The device is not ready")},
    {ERROR_CRC, i18n::trMark("Data error (cyclic redundancy check)")},
    {ERROR_WRITE_FAULT, i18n::trMark("The system cannot write to the specified device")},
    {ERROR_READ_FAULT, i18n::trMark("The system cannot read from the specified device")},
    {ERROR_SHARING_VIOLATION, i18n::trMark("The process cannot access the file because it is "
                                           "being used by another process")},
    {ERROR_LOCK_VIOLATION, i18n::trMark("The process cannot access the file because another "
                                        "process has locked a portion of the file")},
    {ERROR_HANDLE_DISK_FULL, i18n::trMark("The disk is full")},
    {ERROR_NOT_SUPPORTED, i18n::trMark("The request is not supported")},
    {ERROR_BAD_NETPATH, i18n::trMark("The network path was not found")},
    {ERROR_NETWORK_ACCESS_DENIED, i18n::trMark("Network access is denied")},
    {ERROR_FILE_EXISTS, i18n::trMark("The file exists")},
    {ERROR_INVALID_PARAMETER, i18n::trMark("The parameter is incorrect")},
    {ERROR_DISK_FULL, i18n::trMark("There is not enough space on the disk")},
    {ERROR_INVALID_NAME,
     i18n::trMark("The filename, directory name, or volume label syntax is incorrect")},
    {ERROR_DIR_NOT_EMPTY, i18n::trMark("The directory is not empty")},
    {ERROR_ALREADY_EXISTS, i18n::trMark("Cannot create a file when that file already exists")},
    {ERROR_FILENAME_EXCED_RANGE, i18n::trMark("The filename or extension is too long")},
    {ERROR_DIRECTORY, i18n::trMark("The directory name is invalid")},
    {ERROR_DELETE_PENDING, i18n::trMark("The file cannot be opened because it is in the process "
                                        "of being deleted")},
    {ERROR_IO_DEVICE, i18n::trMark("The request could not be performed because of an I/O device "
                                   "error")},
    {ERROR_USER_MAPPED_FILE, i18n::trMark("The requested operation cannot be performed on a file "
                                          "with a user-mapped section open")},
    {ERROR_FILE_CORRUPT, i18n::trMark("The file or directory is corrupted and unreadable")},
    {ERROR_CANT_ACCESS_FILE, i18n::trMark("The file cannot be accessed by the system")},
    {ERROR_CANT_RESOLVE_FILENAME,
     i18n::trMark("The name of the file cannot be resolved by the system")},
};

// The language of the program's texts as Windows numbers languages, or English; English for the
// texts as written.
LANGID languageId(bool english) {
    std::string tag = english ? std::string() : i18n::language();
    if (tag.empty())
        return MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    for (char& c : tag)
        c = c == '_' ? '-' : c;
    return LANGIDFROMLCID(LocaleNameToLCID(wide(tag).c_str(), 0));
}

// The system's own text in `language` (0: as the system chooses), or "".
std::wstring formatted(DWORD error, LANGID language) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", length);
    LocalFree(text);
    return message;
}

}  // namespace

// Our own wording of the errors a player meets, in the program's language (or English); else the
// system's text in that language where Windows has it, else in its own.
std::string systemMessage(DWORD error, bool english) {
    for (const Known& known : kKnown) {
        if (known.error == error)
            return english ? std::string(known.text) : i18n::tr(known.text);
    }
    std::wstring message = formatted(error, languageId(english));
    if (message.empty())
        message = formatted(error, 0);
    while (!message.empty() && (iswspace(message.back()) || message.back() == L'.'))
        message.pop_back();
    if (!message.empty())
        return narrow(message);
    return english ? "error " + std::to_string(error) : i18n::tr("error %d", error);
}

std::wstring finalPathOf(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);  // the size needed, its ending NUL included
    }
}

}  // namespace morvane::win32

namespace morvane {

std::string systemErrorText(std::uint32_t code, bool english) {
    return win32::systemMessage(code, english);
}

}  // namespace morvane
