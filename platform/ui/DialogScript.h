#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/ui/Toolkit.h"

namespace morvane::ui {

struct ShownMessage {
    std::string text;
    std::string title;  // as passed: empty when the box carries the program's name
    MessageIcon icon;
};

// Preset answers for everything modal or outward-facing, so that tests never wait on a person.
// While a script is in use the toolkit records instead of showing or opening anything.
struct DialogScript {
    std::deque<std::string> folders;  // answers of browseFolder in order; none left: cancel ("")
    std::vector<std::string> browseStarts;  // the start folder of every browseFolder call
    std::vector<ShownMessage> messages;     // every message box
    std::vector<std::string> openedUrls;    // every openUrl
    int quitRequests = 0;                   // quit() calls; the program keeps running

    // The answer to a folder dialog opened on `startFolder`: the next folder, or a cancel.
    std::string browse(const std::string& startFolder) {
        browseStarts.push_back(startFolder);
        if (folders.empty())
            return {};
        std::string answer = std::move(folders.front());
        folders.pop_front();
        return answer;
    }
};

}  // namespace morvane::ui
