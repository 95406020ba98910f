#include "windows/Module1.h"

namespace morvane::ui {

namespace {
constexpr const char* kBrowseTitle = "Выберите директорию с Counter Strike";
}

std::string Module1::BrowseFolder(Toolkit& toolkit, Window& owner, const std::string& startFolder) {
    // The remembered folder is handed on only when a start folder was given, as a dialog callback
    // that is installed only then would do; otherwise the dialog keeps its own default.
    if (startFolder.empty()) {
        return toolkit.browseFolder(owner, kBrowseTitle, std::string{});
    }
    browseStartFolder_ = startFolder;
    return toolkit.browseFolder(owner, kBrowseTitle, browseStartFolder_);
}

}  // namespace morvane::ui
