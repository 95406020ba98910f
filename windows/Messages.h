#pragma once

#include <string_view>

#include "platform/Translate.h"

namespace morvane::ui {

// Every text the windows show in a message box or write at run time, marked for translation in
// English: the windows speak Russian (Program sets the language), and po/ru.po holds each letter
// for letter as the windows have always shown it. The folder warnings differ on purpose there:
// "c CS" in one uses the Latin c, "с CS" in the other the Cyrillic one. Shown with i18n::tr().
// The layouts' fixed captions (windows/layouts/) are Russian data, as the windows were drawn.

// Form2: the games of its list, names that no language changes.
inline constexpr std::string_view kGameCs16 = "Counter Strike 1.6";
inline constexpr std::string_view kGameSource = "Counter Strike Source";
inline constexpr std::string_view kInDevelopment = i18n::trMark("This function is in development!");

// Form3
inline constexpr std::string_view kBrowseStartFolder = "c:\\";
inline constexpr std::string_view kLauncherMissing =
    i18n::trMark("The file 'hl.exe' was not found; choose the folder with CS or CSS");
// TRANSLATORS: the title of a warning; another warning's title has three exclamation marks.
inline constexpr std::string_view kLauncherMissingTitle = i18n::trMark("Attention!");
inline constexpr std::string_view kChooseFolder = i18n::trMark("Choose the folder with CS or CSS");
// TRANSLATORS: the title of a warning; another warning's title has one exclamation mark.
inline constexpr std::string_view kChooseFolderTitle = i18n::trMark("Attention!!!");

// Form4
inline constexpr std::string_view kConfigWarning =
    i18n::trMark("With this function chosen, your config becomes the standard one");
inline constexpr std::string_view kConfigWarningTitle = kChooseFolderTitle;
// Then the missing files, the first named, and the advice.
inline constexpr std::string_view kReplacementsMissing =
    i18n::trMark("The replacement files were not found beside the program:");
inline constexpr std::string_view kReinstall = i18n::trMark("Reinstall the program.");
inline constexpr std::string_view kReplacementsMissingTitle = kLauncherMissingTitle;
inline constexpr std::string_view kFolderBusy =
    i18n::trMark("The game folder is held by another program. Close it and try again.");
inline constexpr std::string_view kFolderBusyTitle = kLauncherMissingTitle;
// Then the files, each with its reason.
inline constexpr std::string_view kFilesNotTreated =
    i18n::trMark("These files could not be treated:");
inline constexpr std::string_view kFilesNotTreatedTitle = kLauncherMissingTitle;
// Then why, with the system's reason after the last two.
inline constexpr std::string_view kBackupNotMade =
    i18n::trMark("The backup could not be made, so nothing was changed.");
inline constexpr std::string_view kNoBackupsFolder =
    i18n::trMark("The home folder, where the backups are kept, was not found.");
inline constexpr std::string_view kBackupFolderNotMade =
    i18n::trMark("Its folder could not be made: %s");
inline constexpr std::string_view kBackupNotWritten = i18n::trMark("It could not be written: %s");
inline constexpr std::string_view kBackupNotMadeTitle = kLauncherMissingTitle;
inline constexpr std::string_view kVerdictUnknown = i18n::trMark("Unknown");
inline constexpr std::string_view kVerdictNotRemoved = i18n::trMark("Advertising not removed");
inline constexpr std::string_view kVerdictPossiblyRemoved =
    i18n::trMark("Advertising possibly removed");

}  // namespace morvane::ui
