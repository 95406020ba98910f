#pragma once

#include <string_view>

namespace morvane::ui {

// Every text the windows show in a message box or write at run time, letter for letter. The
// folder warnings differ on purpose: "c CS" below uses the Latin c, "с CS" the Cyrillic one.

// Form2
inline constexpr std::string_view kGameCs16 = "Counter Strike 1.6";
inline constexpr std::string_view kGameSource = "Counter Strike Source";
inline constexpr std::string_view kInDevelopment = "Данная функция в разработке!";

// Form3
inline constexpr std::string_view kBrowseStartFolder = "c:\\";
inline constexpr std::string_view kLauncherMissing =
    "Файл 'hl.exe' не найден выберите папку с CS или CSS";
inline constexpr std::string_view kLauncherMissingTitle = "Внимание!";
inline constexpr std::string_view kChooseFolder = "Выберите папку c CS или CSS";
inline constexpr std::string_view kChooseFolderTitle = "Внимание!!!";

// Form4
inline constexpr std::string_view kConfigWarning =
    "Выбрав данную функцию ваш конфиг станет стандартным";
inline constexpr std::string_view kConfigWarningTitle = "Внимание!!!";
// Then the missing files, the first named, and the advice.
inline constexpr std::string_view kReplacementsMissing =
    "Не найдены файлы для замены рядом с программой:";
inline constexpr std::string_view kReinstall = "Переустановите программу.";
inline constexpr std::string_view kReplacementsMissingTitle = "Внимание!";
inline constexpr std::string_view kFolderBusy =
    "Папка игры занята другой программой. Закройте её и попробуйте снова.";
inline constexpr std::string_view kFolderBusyTitle = "Внимание!";
// Then the files, each with the system's reason.
inline constexpr std::string_view kFilesNotTreated = "Не удалось обработать файлы:";
inline constexpr std::string_view kFilesNotTreatedTitle = "Внимание!";
// Then why, the system's reason after the last two.
inline constexpr std::string_view kBackupNotMade =
    "Не удалось сделать резервную копию, поэтому ничего не изменено.";
inline constexpr std::string_view kNoBackupsFolder =
    "Не найдена домашняя папка, в которой хранятся резервные копии.";
inline constexpr std::string_view kBackupFolderNotMade = "Не удалось создать для неё папку: ";
inline constexpr std::string_view kBackupNotWritten = "Не удалось её записать: ";
inline constexpr std::string_view kBackupNotMadeTitle = "Внимание!";
// After the items of a list that are named, "и ещё 3".
inline constexpr std::string_view kAndMore = "и ещё ";
inline constexpr std::string_view kVerdictUnknown = "Неизвестно";
inline constexpr std::string_view kVerdictNotRemoved = "Реклама не удалена";
inline constexpr std::string_view kVerdictPossiblyRemoved = "Реклама возможно удалена";

}  // namespace morvane::ui
