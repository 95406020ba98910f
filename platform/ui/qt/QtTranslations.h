#pragma once

namespace morvane::ui {

// Qt's own texts (the folder dialog, its buttons and error boxes, the OK of a message box) in
// Russian, as the windows are: Qt's translations (the package qt6-translations-l10n), with the
// few its Russian lacks (the folder dialog's file types) from the program's catalog; and dates and
// numbers written as Russian writes them. Without Qt's file its texts stay English and the program
// runs all the same. Once per program, after the application is made.
void speakRussian();

}  // namespace morvane::ui
