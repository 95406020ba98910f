#include "platform/host/posix/UserLanguages.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "platform/host/SystemHost.h"

namespace morvane {
namespace posix {
namespace {

using Variable = std::function<const char*(const char*)>;

// The first of the variables that is set and not empty, as the C library picks a category's
// locale.
std::string firstSet(const Variable& variable, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = variable(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

// "ru_RU.UTF-8@euro" without its codeset and modifier: "ru_RU".
std::string tagOf(std::string_view locale) {
    return std::string(locale.substr(0, std::min(locale.find_first_of(".@"), locale.size())));
}

// The codeset a locale names ("UTF-8" of "ru_RU.UTF-8"), or "" when it names none.
std::string codesetOf(std::string_view locale) {
    const std::size_t dot = locale.find('.');
    if (dot == std::string_view::npos)
        return {};
    std::string codeset(locale.substr(dot + 1, locale.find('@', dot) - dot - 1));
    std::string lowered;
    for (const char c : codeset) {
        if (c != '-')
            lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lowered;
}

}  // namespace

std::vector<std::string> languagesOf(const Variable& variable) {
    const std::string messages = firstSet(variable, {"LC_ALL", "LC_MESSAGES", "LANG"});
    if (messages.empty() || messages == "C" || messages == "POSIX")
        return {};
    const std::string codeset = codesetOf(firstSet(variable, {"LC_ALL", "LC_CTYPE", "LANG"}));
    if (!codeset.empty() && codeset != "utf8")
        return {};
    std::vector<std::string> tags;
    std::string_view list = variable("LANGUAGE") != nullptr ? variable("LANGUAGE") : "";
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(':'), list.size());
        if (end > 0)
            tags.push_back(tagOf(list.substr(0, end)));
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    if (tags.empty())
        tags.push_back(tagOf(messages));
    return tags;
}

}  // namespace posix

std::vector<std::string> userLanguages() {
    return posix::languagesOf([](const char* name) { return std::getenv(name); });
}

}  // namespace morvane
