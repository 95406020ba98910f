#pragma once

#include <QString>
#include <string>

class QWidget;

namespace morvane::ui::folders {

// The folder to open the dialog in. A Windows drive path ("c:\", "D:\Games") means the user's home
// folder where there are no drive letters; any other path is used as given.
QString localStartFolder(const std::string& startFolder);

// The chosen folder as the program uses it: absolute, in the system's separators, a root with its
// trailing separator ("/") and any other folder without one.
std::string folderResult(const QString& chosen);

// Shows Qt's own folder dialog (the same on every system), modal to `owner` (may be null), opened
// in `startFolder` unless that is empty. Returns the chosen folder, or "" on cancel.
std::string browse(QWidget* owner, const std::string& title, const std::string& startFolder);

}  // namespace morvane::ui::folders
