#include "windows/Module1.h"

#include "platform/Translate.h"

namespace morvane::ui {

namespace {
// Shown in Russian, as the windows' other texts (windows/Messages.h).
constexpr std::string_view kBrowseTitle = i18n::trMark("Choose the directory with Counter Strike");
}  // namespace

std::string Module1::BrowseFolder(Toolkit& toolkit, Window& owner, const std::string& startFolder) {
    // The remembered folder is handed on only when a start folder was given, as a dialog callback
    // that is installed only then would do; otherwise the dialog keeps its own default.
    if (startFolder.empty()) {
        return toolkit.browseFolder(owner, i18n::tr(kBrowseTitle), std::string{});
    }
    browseStartFolder_ = startFolder;
    return toolkit.browseFolder(owner, i18n::tr(kBrowseTitle), browseStartFolder_);
}

}  // namespace morvane::ui
