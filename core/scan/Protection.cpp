#include "core/scan/Protection.h"

#include <cstdlib>
#include <string>

#include "core/scan/ConsoleLine.h"
#include "core/text/AsciiText.h"
#include "core/text/TextLines.h"

namespace morvane::scan {

std::optional<bool> filterSettingIn(std::string_view content) {
    std::optional<bool> value;
    forEachLine(content, [&](std::string_view line, int) {
        for (const Command& command : commandsOf(line)) {
            if (command.words.size() >= 2 && equalsIgnoringCase(command.words[0], kFilterSetting))
                value = std::atof(command.words[1].c_str()) != 0.0;  // as the console reads it
        }
    });
    return value;
}

std::string_view protectionName(Protection state) {
    switch (state) {
        case Protection::On:
            return "on";
        case Protection::Off:
            return "off";
        case Protection::Missing:
            break;
    }
    return "missing";
}

}  // namespace morvane::scan
